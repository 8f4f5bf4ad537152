#pragma once

#include "store/ColumnKind.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class Engine;

// Rows of a query in the form the database stores them, with what is known of each column.
struct ResultSet
{
    QList<ColumnInfo> columns;
    QList<QList<QVariant>> rows;

    int columnIndex(const QString& name) const; // without regard to case; -1 when absent
    bool isEmpty() const { return rows.isEmpty(); }
};

// The one database connection of the program. Everything that talks to the database goes
// through here: statements with bound values, the schema, transactions.
class Connection
{
public:
    explicit Connection(const QString& name);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file (never creates one) and checks that it is a
    // database. Throws DatabaseError.
    void open(const QString& filePath);
    // Connects to the shared server database (a libpq connection string). Throws
    // DatabaseError with the server's reason.
    void openServer(const QString& connectionString);
    void close();
    bool isOpen() const;
    bool isServer() const { return m_server; }
    QString filePath() const { return m_server ? QString() : m_filePath; }
    QSqlDatabase database() const;

    // A query. Typed values are bound, never put into the text; so are the ids of the
    // statements run again and again (a customer's cards, a card's activities), so that
    // each is prepared once.
    ResultSet query(const QString& sql, const QVariantList& params = {}) const;
    // A statement without rows; returns the number of rows it changed.
    int execute(const QString& sql, const QVariantList& params = {});
    // One statement run once for every row of values, prepared only once: for loading
    // many rows at a time.
    void executeMany(const QString& sql, const QList<QVariantList>& rows);
    // An INSERT; returns the key of the new row.
    qint64 insert(const QString& sql, const QVariantList& params = {});
    // The column by which rows of a table are written back.
    QString rowKey(const QString& table) const;
    // Around writing many rows at once (an import).
    void beginBulkWrite();
    void endBulkWrite();

    // How many statements went to the database since the connection was opened (on the
    // server each is a round trip); 0 while closed.
    qint64 statementCount() const;
    // Told the time of each statement and transaction step from now on (none: no longer):
    // a benchmark's measure of the database's own share of an action.
    void timeStatements(std::function<void(double milliseconds)> told);

    // The database file whole, as one consistent image handed to use while it lives (for a
    // backup), and whether this connection changed any row since it opened. Throws
    // DatabaseError on the server.
    void withFileImage(const std::function<void(QByteArrayView)>& use) const;
    bool changedSinceOpen() const;

    // Columns of a table in table order; throws DatabaseError for an unknown table.
    QList<ColumnInfo> tableColumns(const QString& table) const;
    void forgetSchema();
    bool hasTable(const QString& table) const;

    // Nested transactions (savepoints); prefer the Transaction guard.
    void begin();
    void commit();
    void rollback();

private:
    Engine& engine() const;
    template <typename Step> auto timed(Step step) const;

    QString m_name;
    QString m_filePath;
    bool m_server = false;
    int m_savepointDepth = 0;
    std::unique_ptr<Engine> m_engine;
    mutable QHash<QString, QList<ColumnInfo>> m_schema;
    std::function<void(double)> m_timeTold;
};
