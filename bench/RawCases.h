#pragma once

#include "BenchCase.h"

#include <QStringList>
#include <functional>

class Connection;

// The floor under a case of the program on the database file: the very statements the
// program ran for it, run again straight through the sqlite3 C API. That is the least any
// program can spend on them (Qt's own SQLite driver runs on the same API and adds its
// values on top), so the program's time over it is what the program itself adds.
namespace RawCases {

// Runs the action the given number of times, recording for each time the statements it
// runs on the connection (a database file), in the order run and with the values they were
// given written in.
QList<QStringList> record(Connection& connection, const std::function<void()>& action, int times);

// A case that runs recorded statements on its own connection to the database file, run N
// the statements of the action's N-th time (so a case that moves on through the data is
// floored by the same data): all are prepared before the runs; a run resets and steps each
// of its statements to the end and fetches every column of every row as stored.
// recorded() is called once, before the runs; the case before should take at most five
// times as long.
BenchCase replay(const QString& name, const QString& databaseFile,
                 std::function<QList<QStringList>()> recorded, int repetitions);

} // namespace RawCases
