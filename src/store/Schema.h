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

// Brings an existing database up to a fresh one: a missing table, view or index is
// created, a view or index defined otherwise is made anew; existing tables are left as
// they are. False when the database refused something (the rest is done all the same).
bool upgrade(Connection& connection);

} // namespace Schema
