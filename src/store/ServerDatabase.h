#pragma once

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

class Connection;

// The shared server database (PostgreSQL): reaching it, laying out its schema as the
// database file has it, and moving a firm's database file into it.
namespace ServerDatabase {

// Reads a libpq connection string ("host=db.firma.lan port=5432 dbname=vestibor
// user=kancelar"; values may be quoted with '…', \' and \\ inside). Throws DatabaseError
// naming what it could not read.
QMap<QString, QString> parseConnectionString(const QString& text);

// Opens a connection under the given Qt connection name; the password comes from the
// string, else the ways of PostgreSQL's own tools (PGPASSWORD, the password file). Throws
// DatabaseError with the server's reason; the name is released again then.
QSqlDatabase connect(const QString& connectionString, const QString& connectionName);

// Runs one statement (CREATE DATABASE, DROP DATABASE) on the server's maintenance database
// postgres, reached with the connection string's other values. Throws DatabaseError.
void administer(const QString& connectionString, const QString& sql);

// The statements that build the schema on the server: the Czech collations, then the
// database file's tables, view and indexes in PostgreSQL's words. Each view and index is
// followed by the note that records its definition (see definitionNote).
QStringList schemaStatements();

// For a statement that creates a view or an index: the COMMENT statement that keeps its
// definition with it, so that a later version sees when the definition has changed; empty
// for any other statement.
QString definitionNote(const QString& statement);
// The definition such a note records.
QString recordedDefinition(const QString& statement);

// Builds the schema in an empty database, all or nothing; refuses (throws DatabaseError)
// a database that already holds tables.
void createSchema(QSqlDatabase& server);

// Copies every table of the database file into the freshly built server database, ids
// unchanged, and sets each key's sequence past the highest id; all or nothing. progress
// gets the table and the rows copied so far.
void copyFromFile(Connection& file, QSqlDatabase& server,
                  const std::function<void(const QString& table, int rows)>& progress = {});

} // namespace ServerDatabase
