#pragma once

#include "report/Template.h"

namespace pm41 {

// Checks a template's query and turns its :names into positional markers. The query must be
// one SELECT (or WITH … SELECT) statement; every :name must be one of `known`. Faults are
// thrown as ReportError with the line, counted from firstLine, where they stand.
PreparedQuery prepareQuery(const QString& sql, int firstLine, const QStringList& known);

// The names every query may use besides the report's own parameters: the parameter text's
// eleven and :dnes, today's date.
const QStringList& builtInParameters();

} // namespace pm41
