#pragma once

#include "store/Engine.h"

#include <memory>

struct sqlite3;
class StatementCache;

// The database file, through SQLite with the program's Czech collations.
class SqliteEngine : public Engine
{
public:
    // Opens an existing database file under the Qt connection name; throws DatabaseError.
    SqliteEngine(const QString& connectionName, const QString& filePath);
    ~SqliteEngine() override;
    // For a process whose threads each query a file of their own connection at once: SQLite
    // stops counting its memory, which takes one lock shared by every connection for each
    // allocation. Only before the first database is opened.
    static void preferManyThreads();

    QSqlDatabase database() const override;
    QString description() const override { return m_filePath; }
    ResultSet query(const QString& sql, const QVariantList& params) override;
    int execute(const QString& sql, const QVariantList& params) override;
    void executeMany(const QString& sql, const QList<QVariantList>& rows) override;
    qint64 insert(const QString& sql, const QVariantList& params) override;
    QList<ColumnInfo> tableColumns(const QString& table) override;
    bool hasTable(const QString& table) override;
    QString rowKey(const QString&) override { return QStringLiteral("rowid"); }
    void begin(int depth) override;
    void commit(int depth) override;
    void rollback(int depth) override;
    void beginBulkWrite() override;
    void endBulkWrite() override;
    void forgetStatements() override;
    void withFileImage(const std::function<void(QByteArrayView)>& use) override;
    qint64 changesSinceOpen() override;

private:
    sqlite3* handle() const;
    void close();

    QString m_name;
    QString m_filePath;
    std::unique_ptr<StatementCache> m_statements;
};
