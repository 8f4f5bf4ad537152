#include "store/SqliteEngine.h"

#include "store/CzechText.h"
#include "store/DatabaseError.h"
#include "store/SqlDialect.h"
#include "store/StatementCache.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <functional>
#include <sqlite3.h>

namespace {

QString engineError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// One prepared statement, taken from the cache or prepared anew, and given back reset
// whatever happens.
class Statement
{
public:
    Statement(sqlite3* db, StatementCache& cache, const QString& sql)
        : m_db(db), m_cache(cache), m_sql(sql), m_prepared(cache.take(sql))
    {
        if (m_prepared.stmt)
            return;
        const QByteArray text = SqlDialect::forFile(sql).toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_prepared.stmt, nullptr) !=
            SQLITE_OK)
            throw DatabaseError(engineError(db));
        if (!m_prepared.stmt)
            throw DatabaseError(QStringLiteral("Prázdný příkaz SQL."));
    }
    ~Statement() { m_cache.give(m_sql, std::move(m_prepared)); }

    void bind(const QVariantList& params)
    {
        for (int i = 0; i < params.size(); ++i)
            bindOne(i + 1, params[i]);
    }

    bool step()
    {
        const int rc = sqlite3_step(m_prepared.stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw DatabaseError(engineError(m_db));
    }

    // Ready for the next values.
    void reset()
    {
        sqlite3_reset(m_prepared.stmt);
        sqlite3_clear_bindings(m_prepared.stmt);
    }

    sqlite3_stmt* get() const { return m_prepared.stmt; }

    // The result columns, described when the statement was prepared, by SQLite too.
    const QList<ColumnInfo>& columns(const std::function<ColumnInfo(int)>& describe)
    {
        const int prepared = sqlite3_stmt_status(m_prepared.stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
        if (m_prepared.describedAt != prepared) {
            const int count = sqlite3_column_count(m_prepared.stmt);
            m_prepared.columns.clear();
            m_prepared.columns.reserve(count);
            for (int i = 0; i < count; ++i)
                m_prepared.columns.append(describe(i));
            m_prepared.describedAt = prepared;
        }
        return m_prepared.columns;
    }

private:
    void bindOne(int index, const QVariant& v)
    {
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(m_prepared.stmt, index);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                rc = sqlite3_bind_int64(m_prepared.stmt, index, v.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(m_prepared.stmt, index, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc =
                    sqlite3_bind_blob(m_prepared.stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDate:
                rc = bindText(index, v.toDate().toString(QStringLiteral("yyyy-MM-dd")));
                break;
            case QMetaType::QDateTime:
                rc = bindText(index, v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
                break;
            default:
                rc = bindText(index, v.toString());
                break;
            }
        }
        if (rc != SQLITE_OK)
            throw DatabaseError(engineError(m_db));
    }

    int bindText(int index, const QString& s)
    {
        return sqlite3_bind_text16(m_prepared.stmt, index, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
    }

    sqlite3* m_db;
    StatementCache& m_cache;
    QString m_sql;
    Prepared m_prepared;
};

QVariant columnValue(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    case SQLITE_TEXT: {
        // As stored (UTF-8): Qt's decoder is quicker than SQLite's conversion to UTF-16.
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        return QString::fromUtf8(data, sqlite3_column_bytes(stmt, i));
    }
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt, i);
        return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt, i));
    }
    default:
        return {};
    }
}

ColumnInfo describeColumn(sqlite3* db, sqlite3_stmt* stmt, int i)
{
    ColumnInfo info;
    info.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* origin = sqlite3_column_origin_name(stmt, i);
    const char* declared = sqlite3_column_decltype(stmt, i);
    info.table = QString::fromUtf8(table);
    if (!declared) {
        info.kind = ColumnKind::Integer; // refined from the values (see below)
        info.maxLength = -1;             // marks "kind unknown"
        return info;
    }
    info.kind = kindFromDeclaredType(QString::fromUtf8(declared), &info.maxLength);
    if (table && origin && info.kind == ColumnKind::Integer) {
        int primaryKey = 0, autoIncrement = 0;
        if (sqlite3_table_column_metadata(db, nullptr, table, origin, nullptr, nullptr, nullptr, &primaryKey,
                                          &autoIncrement) == SQLITE_OK &&
            primaryKey && autoIncrement)
            info.kind = ColumnKind::AutoKey;
    }
    return info;
}

// A computed column takes its kind from the first value it holds.
void settleComputedKinds(ResultSet& result)
{
    for (int c = 0; c < result.columns.size(); ++c) {
        ColumnInfo& info = result.columns[c];
        if (info.maxLength != -1)
            continue;
        info.maxLength = 0;
        info.kind = ColumnKind::Text;
        for (const auto& row : std::as_const(result.rows)) {
            const QVariant& v = row[c];
            if (v.isNull())
                continue;
            if (v.typeId() == QMetaType::LongLong)
                info.kind = ColumnKind::Integer;
            else if (v.typeId() == QMetaType::Double)
                info.kind = ColumnKind::Float;
            break;
        }
    }
}

} // namespace

SqliteEngine::SqliteEngine(const QString& connectionName, const QString& filePath)
    : m_name(connectionName), m_filePath(filePath), m_statements(std::make_unique<StatementCache>())
{
    if (!QFileInfo(filePath).isFile())
        throw DatabaseError(QStringLiteral("Soubor databáze „%1“ neexistuje.").arg(filePath));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open()) {
            const QString text = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw DatabaseError(text);
        }
    }
    try {
        if (!CzechText::registerOn(handle()))
            throw DatabaseError(engineError(handle()));
        // Reading the catalogue fails for a file that is not a database or is locked.
        query(QStringLiteral("SELECT count(*) FROM sqlite_master"), {});
        execute(QStringLiteral("PRAGMA synchronous = NORMAL"), {});
        // The pages read stay in memory (up to 64 MiB, taken only as read) instead of being
        // read from the file again by the next reading of the plan or a large list.
        execute(QStringLiteral("PRAGMA cache_size = -65536"), {});
    } catch (...) {
        close();
        throw;
    }
}

void SqliteEngine::preferManyThreads()
{
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

SqliteEngine::~SqliteEngine()
{
    close();
}

void SqliteEngine::close()
{
    m_statements->clear();
    releaseQtConnection(m_name);
}

QSqlDatabase SqliteEngine::database() const
{
    return QSqlDatabase::database(m_name, false);
}

sqlite3* SqliteEngine::handle() const
{
    const QSqlDatabase db = database();
    const QVariant v = db.isOpen() ? db.driver()->handle() : QVariant();
    sqlite3* handle = v.isValid() ? *static_cast<sqlite3* const*>(v.data()) : nullptr;
    if (!handle)
        throw DatabaseError(QStringLiteral("Spojení s databází není otevřené."));
    return handle;
}

void SqliteEngine::withFileImage(const std::function<void(QByteArrayView)>& use)
{
    // Read in one read transaction: what other connections commit meanwhile is either all in
    // or not at all.
    sqlite3* db = handle();
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    if (!bytes)
        throw DatabaseError(engineError(db));
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(bytes, sqlite3_free);
    use(QByteArrayView(bytes, qsizetype(size)));
}

qint64 SqliteEngine::changesSinceOpen()
{
    return sqlite3_total_changes64(handle());
}

ResultSet SqliteEngine::query(const QString& sql, const QVariantList& params)
{
    sqlite3* db = handle();
    Statement stmt(db, *m_statements, sql);
    stmt.bind(params);
    countStatement();
    // The first step comes before the columns are read: a statement kept from before a
    // change of the schema is prepared again by it.
    bool hasRow = stmt.step();
    ResultSet result;
    result.columns = stmt.columns([&](int i) { return describeColumn(db, stmt.get(), i); });
    const int count = int(result.columns.size());
    for (; hasRow; hasRow = stmt.step()) {
        QList<QVariant> row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.append(columnValue(stmt.get(), i));
        result.rows.append(std::move(row));
    }
    settleComputedKinds(result);
    return result;
}

int SqliteEngine::execute(const QString& sql, const QVariantList& params)
{
    sqlite3* db = handle();
    Statement stmt(db, *m_statements, sql);
    stmt.bind(params);
    countStatement();
    while (stmt.step()) {
    }
    return sqlite3_changes(db);
}

void SqliteEngine::executeMany(const QString& sql, const QList<QVariantList>& rows)
{
    Statement stmt(handle(), *m_statements, sql);
    for (const QVariantList& params : rows) {
        stmt.bind(params);
        countStatement();
        while (stmt.step()) {
        }
        stmt.reset();
    }
}

qint64 SqliteEngine::insert(const QString& sql, const QVariantList& params)
{
    execute(sql, params);
    return sqlite3_last_insert_rowid(handle());
}

QList<ColumnInfo> SqliteEngine::tableColumns(const QString& table)
{
    const ResultSet info = query(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"), {table});
    const bool autoIncrement =
        !query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?) "
                              "AND upper(sql) GLOB '*AUTOINCREMENT*'"),
               {table})
             .rows.isEmpty();
    QList<ColumnInfo> columns;
    for (const auto& row : info.rows) {
        ColumnInfo c;
        c.name = row[0].toString();
        c.kind = kindFromDeclaredType(row[1].toString(), &c.maxLength);
        c.table = table;
        if (row[2].toInt() == 1 && c.kind == ColumnKind::Integer && autoIncrement)
            c.kind = ColumnKind::AutoKey;
        columns.append(c);
    }
    return columns;
}

bool SqliteEngine::hasTable(const QString& table)
{
    return !query(QStringLiteral(
                      "SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)"),
                  {table})
                .isEmpty();
}

void SqliteEngine::begin(int depth)
{
    execute(QStringLiteral("SAVEPOINT sp%1").arg(depth), {});
}

void SqliteEngine::commit(int depth)
{
    execute(QStringLiteral("RELEASE sp%1").arg(depth), {});
}

void SqliteEngine::rollback(int depth)
{
    const QString name = QStringLiteral("sp%1").arg(depth);
    execute(QStringLiteral("ROLLBACK TO ") + name, {});
    execute(QStringLiteral("RELEASE ") + name, {});
}

// Writes to the log go back to the file in larger steps while many rows are imported.
void SqliteEngine::beginBulkWrite()
{
    execute(QStringLiteral("PRAGMA wal_autocheckpoint = 20000"), {});
}

void SqliteEngine::endBulkWrite()
{
    execute(QStringLiteral("PRAGMA wal_autocheckpoint = 1000"), {});
    query(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"), {});
}

void SqliteEngine::forgetStatements()
{
    m_statements->clear();
}
