#pragma once

#include "store/Connection.h"
#include "store/DatabaseError.h"

#include <QByteArrayView>
#include <QSqlDatabase>

#include <functional>

// What one kind of database does for the connection: the database file (SQLite) or the
// shared server (PostgreSQL). Statements come in the program's own forms; each engine
// rewrites what it spells otherwise.
class Engine
{
public:
    virtual ~Engine() = default;

    virtual QSqlDatabase database() const = 0;
    // "soubor <path>" or "server <host>/<database>", for messages.
    virtual QString description() const = 0;

    virtual ResultSet query(const QString& sql, const QVariantList& params) = 0;
    virtual int execute(const QString& sql, const QVariantList& params) = 0;
    virtual void executeMany(const QString& sql, const QList<QVariantList>& rows) = 0;
    // An INSERT; returns the key the new row got.
    virtual qint64 insert(const QString& sql, const QVariantList& params) = 0;

    // Columns of a table in table order, empty for an unknown table.
    virtual QList<ColumnInfo> tableColumns(const QString& table) = 0;
    virtual bool hasTable(const QString& table) = 0;
    // The column that keys a table's rows for writing them back.
    virtual QString rowKey(const QString& table) = 0;

    // Transactions nest: depth 0 is the outermost.
    virtual void begin(int depth) = 0;
    virtual void commit(int depth) = 0;
    virtual void rollback(int depth) = 0;

    // Many rows are about to be written (an import): the engine may prepare for it.
    virtual void beginBulkWrite() {}
    virtual void endBulkWrite() {}

    virtual void forgetStatements() {}
    // The database file: all of it as one consistent image, handed to use while it lives,
    // and how many rows this connection changed since it opened. Only the file has them.
    virtual void withFileImage(const std::function<void(QByteArrayView)>&)
    {
        throw DatabaseError(QStringLiteral("Databáze na serveru se nezálohuje jako soubor."));
    }
    virtual qint64 changesSinceOpen() { return 0; }

    // How many statements the engine sent to the database: every run of one, and every
    // preparation that costs a trip of its own.
    qint64 statementCount() const { return m_statementCount; }

protected:
    void countStatement() { ++m_statementCount; }

private:
    qint64 m_statementCount = 0;
};

// Closes and forgets the Qt connection of that name, if there is one.
inline void releaseQtConnection(const QString& name)
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
