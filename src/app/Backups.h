#pragma once

#include <QDateTime>
#include <QString>

#include "store/DatabaseFile.h"

#include <functional>
#include <optional>

class Connection;

// Copies of the database file: the ones the user asks for, the automatic ones in the folder
// Zalohy of the program directory, and their names.
namespace Backups {

// "Vestibor_2026-12-09_15-30-12.mdb", with the note before the suffix when one is given.
QString fileName(const QDateTime& at, const QString& note = QString());

// Why target must not take a backup of the database file databaseFile (it is that file or
// one of SQLite's files beside it); nothing when it may.
std::optional<QString> refusedTarget(const QString& target, const QString& databaseFile);

// Writes a consistent copy of the open database file to target through the safe writer
// and checks the copy; the reason when that failed (no copy then stays, and a file that
// was there before is left whole).
// progress, when given, hears of every megabyte written and, with 0, of the check going on.
using Progress = std::function<void(qint64 megabytes)>;
std::optional<QString> write(Connection& connection, const QString& target, const Progress& progress = {},
                             DatabaseFile::Check check = DatabaseFile::Check::Full);

// A copy into folder (created when missing) named by the moment, after which only the
// newest keep automatic copies stay there. The copy's path, or the reason it failed.
struct Written
{
    QString path;
    QString failure;
};
Written writeInto(Connection& connection, const QString& folder, const QDateTime& at,
                  const QString& note = QString(), const Progress& progress = {},
                  DatabaseFile::Check check = DatabaseFile::Check::Full);
void keepNewest(const QString& folder, int keep);

// "1,3 MB", "840 kB": a file's size for a message.
QString sizeText(qint64 bytes);

} // namespace Backups
