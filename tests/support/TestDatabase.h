#pragma once

#include "support/ProgramDir.h"
#include "support/TestServerDatabase.h"

#include <memory>

class Connection;

// Which database the tests of the data layer run on: the file, or the shared server.
enum class TestEngine
{
    File,
    Server
};
TestEngine& currentTestEngine();

// An empty database of the program on the engine the tests run on now: the database file
// of a program directory, or a database of its own on the test server.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    // Empty when the database is ready; why not otherwise (the test server is missing).
    QString error() const;
    // Opens a connection, one more for each program instance a test plays.
    void open(Connection& connection) const;
    // Writes the settings file of the program directory, with the section that points the
    // program at this database when it is on the server.
    void writeIni(const QByteArray& content) const;
    // The settings file's bytes without the section writeIni() added for the server.
    QByteArray withoutServerSection(QByteArray ini) const;
    ProgramDir& dir() { return m_dir; }
    // The test's own connection to its server database; null on the file.
    TestServerDatabase* server() const { return m_server.get(); }

private:
    QByteArray serverSection() const;

    ProgramDir m_dir;
    std::unique_ptr<TestServerDatabase> m_server;
};

// Makes the database refuse every event ("INSERT", "UPDATE" or "DELETE") on the table, where
// the condition on the row (NEW or OLD, in SQL both engines read) holds, with that message,
// until allowWrites() lifts it.
void refuseWrites(Connection& connection, const QString& table, const QString& event,
                  const QString& message = QStringLiteral("x"),
                  const QString& condition = QStringLiteral("TRUE"));
void allowWrites(Connection& connection, const QString& table);
