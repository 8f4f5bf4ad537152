#pragma once

#include <QSqlDatabase>
#include <QString>

// A database of its own on the test server that scripts/test.sh starts (its connection
// string comes in VESTIBOR_TEST_SERVER), dropped again at the end. Server tests are never
// skipped: without the server ok() is false and error() says why.
class TestServerDatabase
{
public:
    TestServerDatabase();
    ~TestServerDatabase();
    TestServerDatabase(const TestServerDatabase&) = delete;
    TestServerDatabase& operator=(const TestServerDatabase&) = delete;

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    // The connection string of this database.
    QString connectionString() const;
    QSqlDatabase& db() { return m_db; }

private:
    QString m_base;
    QString m_name;
    QString m_error;
    QSqlDatabase m_db;
    QString m_connectionName;
};
