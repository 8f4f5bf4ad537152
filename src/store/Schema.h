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

// Brings the indexes of an existing database to those of a fresh one: a missing index is
// created, one defined otherwise is made anew. False when the database refused.
bool upgradeIndexes(Connection& connection);

} // namespace Schema
