#pragma once

#include "store/Engine.h"
#include "store/PostgresResult.h"

#include <QHash>

// The shared server database: Qt's PostgreSQL driver keeps the connection, statements run
// through libpq. Statements are prepared once and kept, so that running one again costs one
// round trip to the server.
class PostgresEngine : public Engine
{
public:
    // Connects under the Qt connection name; throws DatabaseError with the server's reason.
    PostgresEngine(const QString& connectionName, const QString& connectionString);
    ~PostgresEngine() override;

    QSqlDatabase database() const override;
    QString description() const override { return m_description; }
    ResultSet query(const QString& sql, const QVariantList& params) override;
    int execute(const QString& sql, const QVariantList& params) override;
    void executeMany(const QString& sql, const QList<QVariantList>& rows) override;
    qint64 insert(const QString& sql, const QVariantList& params) override;
    QList<ColumnInfo> tableColumns(const QString& table) override;
    bool hasTable(const QString& table) override;
    QString rowKey(const QString& table) override;
    void begin(int depth) override;
    void commit(int depth) override;
    void rollback(int depth) override;
    void beginBulkWrite() override;
    void endBulkWrite() override;
    void forgetStatements() override;

private:
    static PGconn* handleOf(const QSqlDatabase& db);
    void tuneSession();
    PgResult run(const QString& sql, const QVariantList& params);
    // Throws the statement's error; a lost connection is told as such.
    [[noreturn]] void fail(const PGresult* result);
    // After a failed statement: whether the session with the server was lost; if so, the
    // engine tries once to connect again.
    bool connectionLost();
    QString lostConnectionMessage(const QString& why) const;

    QString m_name;
    QString m_description;
    PGconn* m_connection = nullptr;           // Qt's, valid while the Qt connection is open
    QHash<QByteArray, QByteArray> m_prepared; // statement text -> its name on the server
    int m_statementNames = 0;
    QHash<QString, QString> m_rowKeys;
    bool m_reconnected = false;
};
