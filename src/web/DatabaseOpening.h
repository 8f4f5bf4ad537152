#pragma once

#include <QString>

#include <functional>

class Connection;

// How the server and its commands open the database the desktop program works on: the
// settings file's section databaze, as the desktop reads it; the server's password the
// ways of its own tools (PGPASSWORD, the password file), since nobody is there to type it.
namespace DatabaseOpening {

std::function<void(Connection&)> opener(const QString& programDirectory);
// Opens one connection to check the database before serving; the Czech reason when it
// cannot serve (no database, not reachable, the web tables missing).
QString problem(const QString& programDirectory);

} // namespace DatabaseOpening
