#pragma once

#include <QString>
#include <QStringList>

class Connection;
class QTextStream;

// "vestibor-web ucet …": the technicians' accounts from the command line, for a server
// without the desktop program.
namespace AccountCommand {

// Runs the words after "ucet" on the database of the program directory; the exit status.
int run(const QString& programDirectory, const QStringList& words);
// The same on an open connection, writing to the streams (the tests' entry).
int run(Connection& connection, const QStringList& words, QTextStream& out, QTextStream& err);

} // namespace AccountCommand
