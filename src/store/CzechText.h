#pragma once

#include <QString>

struct sqlite3;

// Czech ordering and case-insensitive LIKE for the database connection: customer lists
// sort as Czech users expect (Č after C, Ch after H) and a filter for "čech" finds "Čech".
namespace CzechText {

// Registers the collations "czech" and "caseless" (texts that differ only in letter case
// are equal) and the functions like(pattern, text[, escape]). Returns false when SQLite
// refused a registration.
bool registerOn(sqlite3* db);

// Czech comparison with a binary tie-break, so that only identical texts compare equal.
int compare(QStringView a, QStringView b);

// SQL LIKE: "%" any run, "_" one character, the escape character (if not null) makes the
// next character literal. Letters are compared without regard to case, in any alphabet.
bool like(QStringView pattern, QStringView text, QChar escape = QChar());

} // namespace CzechText
