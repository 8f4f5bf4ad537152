#pragma once

#include <QString>

namespace ServerDatabase {

// Whether the server turned the connection string away for want of a password that neither
// the string, PGPASSWORD nor the password file gives. It is libpq's own answer, on a
// connection of its own: Qt's driver frees its libpq connection when opening fails, and the
// words of the failure are no guide (libpq may speak another language).
bool passwordWanted(const QString& connectionString);

} // namespace ServerDatabase
