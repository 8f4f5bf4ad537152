#pragma once

#include <QString>

class Connection;

// The database file of a fresh installation.
namespace Schema {

// The statements that build an empty database, in order.
QStringList statements();

// Creates a new database file at path with every table and index. Refuses (throws
// DatabaseError) when the file exists already: an existing database holds user data.
void createDatabaseFile(const QString& path);

} // namespace Schema
