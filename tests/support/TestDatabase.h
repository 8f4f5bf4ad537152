#pragma once

#include "support/ProgramDir.h"
#include "support/TestServer.h"

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
    ProgramDir& dir() { return m_dir; }

private:
    ProgramDir m_dir;
    std::unique_ptr<TestServerDatabase> m_server;
};
