#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVariant>

namespace pm41 {

// The two databases a report may read through the program's connection: the database file
// (Qt's driver QSQLITE) and the shared server (QPSQL). What the library does differently on
// them is decided here.
enum class DatabaseKind
{
    File,
    Server
};

// The kind of an open connection; another driver is a ReportError.
DatabaseKind databaseKind(const QSqlDatabase& db);

// The driver's name, as a template's [dotaz QSQLITE] or [dotaz QPSQL] names it.
QString driverName(DatabaseKind kind);

// A date as a query's value: on the file the text YYYY-MM-DD, as the file keeps dates (so
// that it compares with stored dates, and older templates may still hand it to SQLite's date
// functions); on the server a date.
QVariant dateValue(DatabaseKind kind, const QDate& date);

// The database's own words for a statement it refused: the first line of its message,
// without the severity the server puts before it and the statement it quotes after it.
QString databaseWords(const QSqlError& error);

// A value of a result row in the form the file gives it, so that a report prints alike on
// both: a date as the text YYYY-MM-DD (with " HH:MM:SS" when it has a time of day), yes/no
// as 1 or 0. Numbers are read as doubles on both (the runner asks for that).
QVariant valueAsOnFile(const QVariant& value);

} // namespace pm41
