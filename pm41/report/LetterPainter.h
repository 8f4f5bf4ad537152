#pragma once

#include "report/PageLayout.h"

class QPrinter;

namespace pm41 {

// Paints a letter report on the printer, letter by letter; returns the pages painted, or 0
// when the printer could not be painted on.
int paintLetters(QPrinter& printer, const ReportData& data, const PageMetrics& m);

} // namespace pm41
