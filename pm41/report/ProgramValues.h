#pragma once

#include "report/Export.h"
#include "report/ReportRunner.h"
#include "report/Template.h"

namespace pm41 {

// Reads the values the program hands a report beside the parameter text, "Name|value|Name|
// value" (empty or none for no values): the query reads each as :Name, as text. A name is
// letters without diacritics, digits and "_", once only, and none of the names a report
// always gets; a value runs to the next "|". Returns the message of a fault, else empty.
PM41_EXPORT QString parseProgramValues(const QString& text, ParameterValues& out);

// The values must be those the template declares in "od_programu", and no others; the
// message of a fault, else empty. (A declared value that is missing is refused when the
// report runs, with the template's line.)
PM41_EXPORT QString checkProgramValues(const Template& t, const ParameterValues& given);

} // namespace pm41
