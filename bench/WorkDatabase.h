#pragma once

#include <QString>
#include <memory>

class Connection;

// The database the cases work on: never the measured one itself, but a copy of it that the
// writing cases may change, and empty databases for the imports. Both go when it does.
class WorkDatabase
{
public:
    virtual ~WorkDatabase() = default;

    // What is measured, for the heading of the results.
    virtual QString description() const = 0;
    // The database file of the copy; empty on the server.
    virtual QString filePath() const { return QString(); }
    // Connects to the copy.
    virtual void open(Connection& connection) const = 0;
    // Points the program in its directory at the copy (its settings file).
    virtual void pointProgramAt(const QString& programDirectory) const = 0;
    // Connects to a new empty database of the program; the one made before is gone.
    virtual void openEmpty(Connection& connection) = 0;
};

// A copy of the database file in the program directory (as Vestibor.mdb).
std::unique_ptr<WorkDatabase> copyOfFile(const QString& file, const QString& programDirectory);
// A throwaway copy of the server database made from it on the same server; the connecting
// user needs the right to create databases.
std::unique_ptr<WorkDatabase> copyOnServer(const QString& connectionString);
