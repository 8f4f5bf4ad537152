#pragma once

#include <QString>

// The statements the program writes keep the forms of the old Jet database; the few that
// SQLite spells differently are rewritten here, in one place.
namespace SqlDialect {

// "SELECT Top 5 * FROM t ..." becomes "SELECT * FROM t ... LIMIT 5".
QString translate(const QString& sql);

// The same for the database file, which locks itself whole for a write: a closing
// "FOR UPDATE" (a row lock on the server) has nothing to add there and is dropped.
QString forFile(const QString& sql);

// The same for the server database: also LIKE, which ignores letter case in the file,
// becomes ILIKE (quoted texts are kept).
QString forServer(const QString& sql);

// The program's "?" placeholders as the server numbers them, "$1", "$2", …; quoted texts and
// names are left as they are.
QString numberedPlaceholders(const QString& sql);

// The table a plain "SELECT * FROM table [WHERE ...] [ORDER BY ...]" reads, or an empty
// text when the statement reads more than one table or computes columns.
QString singleTableOf(const QString& sql);

// Escapes the LIKE wildcards of a typed text so that it matches as a plain substring
// with "LIKE ? ESCAPE '\'".
QString escapeLike(const QString& text);

// "%text%" with the wildcards of text escaped.
QString containsPattern(const QString& text);

} // namespace SqlDialect
