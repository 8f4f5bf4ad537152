#pragma once

#include "report/Template.h"

namespace pm41 {

// Checks a template's query and turns its :names into positional markers. The query must be
// one SELECT (or WITH … SELECT) statement; every :name must be one of `known`. Faults are
// thrown as ReportError with the line, counted from firstLine, where they stand. The
// keywords LIKE are noted, for withCaselessLike().
PreparedQuery prepareQuery(const QString& sql, int firstLine, const QStringList& known);

// The text of a query written for both databases as the server runs it: LIKE becomes
// ILIKE, which ignores letter case as the file's LIKE does.
QString withCaselessLike(const PreparedQuery& query);

// The names every query may use besides the report's own parameters: the parameter text's
// eleven and :dnes, today's date.
const QStringList& builtInParameters();

} // namespace pm41
