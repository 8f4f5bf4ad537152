#pragma once

#include <QString>

class Connection;

// Texts compared without regard to letter case and accents, the same way in the program and
// in the database: "Novák" is found by "novak". The letters of Latin-1 and Latin Extended-A
// lose their accents; other letters stay.
namespace TextFolding {

QString fold(const QString& text);
// Gives the database file the function unaccented(text) (the server has translate()).
void registerOn(Connection& connection);
// An SQL expression of the column with its accents taken off, for "... LIKE ?" (which
// ignores letter case): on the database file.
QString unaccented(const QString& column);
// A regular expression for the server's "~*" that finds the text as a plain substring, each
// letter also with any accent, in either case: the server compares without a function on
// every row.
QString accentFreePattern(const QString& text);

} // namespace TextFolding
