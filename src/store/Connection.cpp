#include "store/Connection.h"

#include "store/DatabaseError.h"
#include "store/PostgresEngine.h"
#include "store/SqliteEngine.h"

#include <chrono>

int ResultSet::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Connection::Connection(const QString& name)
{
    // Qt keeps connections by name; each object gets one of its own.
    static int created = 0;
    m_name = QStringLiteral("%1#%2").arg(name).arg(++created);
}

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& filePath)
{
    close();
    m_engine = std::make_unique<SqliteEngine>(m_name, filePath);
    m_filePath = filePath;
    m_server = false;
}

void Connection::openServer(const QString& connectionString)
{
    close();
    m_engine = std::make_unique<PostgresEngine>(m_name, connectionString);
    m_filePath = m_engine->description();
    m_server = true;
}

void Connection::close()
{
    m_engine.reset();
    m_filePath.clear();
    m_server = false;
    m_savepointDepth = 0;
    m_schema.clear();
}

bool Connection::isOpen() const
{
    return m_engine && m_engine->database().isOpen();
}

QSqlDatabase Connection::database() const
{
    return m_engine ? m_engine->database() : QSqlDatabase();
}

void Connection::withFileImage(const std::function<void(QByteArrayView)>& use) const
{
    engine().withFileImage(use);
}

bool Connection::changedSinceOpen() const
{
    return m_engine && m_engine->changesSinceOpen() > 0;
}

Engine& Connection::engine() const
{
    if (!m_engine)
        throw DatabaseError(QStringLiteral("Spojení s databází není otevřené."));
    return *m_engine;
}

template <typename Step> auto Connection::timed(Step step) const
{
    if (!m_timeTold)
        return step();
    const auto start = std::chrono::steady_clock::now();
    struct Tell
    {
        const std::function<void(double)>& told;
        std::chrono::steady_clock::time_point start;
        ~Tell()
        {
            told(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    } tell{m_timeTold, start};
    return step();
}

void Connection::timeStatements(std::function<void(double milliseconds)> told)
{
    m_timeTold = std::move(told);
}

ResultSet Connection::query(const QString& sql, const QVariantList& params) const
{
    return timed([&] { return engine().query(sql, params); });
}

int Connection::execute(const QString& sql, const QVariantList& params)
{
    const int changed = timed([&] { return engine().execute(sql, params); });
    if (sql.trimmed().startsWith(QStringLiteral("ALTER"), Qt::CaseInsensitive))
        forgetSchema();
    return changed;
}

void Connection::executeMany(const QString& sql, const QList<QVariantList>& rows)
{
    timed([&] { engine().executeMany(sql, rows); });
}

qint64 Connection::insert(const QString& sql, const QVariantList& params)
{
    return timed([&] { return engine().insert(sql, params); });
}

QString Connection::rowKey(const QString& table) const
{
    return engine().rowKey(table);
}

void Connection::beginBulkWrite()
{
    engine().beginBulkWrite();
}

void Connection::endBulkWrite()
{
    engine().endBulkWrite();
}

qint64 Connection::statementCount() const
{
    return m_engine ? m_engine->statementCount() : 0;
}

QList<ColumnInfo> Connection::tableColumns(const QString& table) const
{
    const QString key = table.toLower();
    if (auto it = m_schema.constFind(key); it != m_schema.constEnd())
        return *it;
    const QList<ColumnInfo> columns = engine().tableColumns(table);
    if (columns.isEmpty())
        throw DatabaseError(QStringLiteral("no such table: %1").arg(table));
    m_schema.insert(key, columns);
    return columns;
}

void Connection::forgetSchema()
{
    m_schema.clear();
    if (m_engine)
        m_engine->forgetStatements();
}

bool Connection::hasTable(const QString& table) const
{
    return engine().hasTable(table);
}

void Connection::begin()
{
    timed([&] { engine().begin(m_savepointDepth); });
    ++m_savepointDepth;
}

void Connection::commit()
{
    if (m_savepointDepth == 0)
        return;
    timed([&] { engine().commit(m_savepointDepth - 1); });
    --m_savepointDepth;
}

void Connection::rollback()
{
    if (m_savepointDepth == 0)
        return;
    --m_savepointDepth;
    timed([&] { engine().rollback(m_savepointDepth); });
}
