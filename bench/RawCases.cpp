#include "RawCases.h"

#include "helpers/AppError.h"
#include "store/Connection.h"
#include "store/CzechText.h"

#include <QSqlDriver>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

sqlite3* handleOf(const Connection& connection)
{
    const QVariant v = connection.database().driver()->handle();
    sqlite3* handle = v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0
                          ? *static_cast<sqlite3* const*>(v.data())
                          : nullptr;
    if (!handle)
        throw AppError(QStringLiteral("raw cases need a database file"));
    return handle;
}

int traced(unsigned, void* context, void* p, void* x)
{
    // Statements of triggers come as comments; they run inside the statement that fired them.
    if (static_cast<const char*>(x)[0] == '-')
        return 0;
    char* expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(p));
    static_cast<QStringList*>(context)->append(QString::fromUtf8(expanded));
    sqlite3_free(expanded);
    return 0;
}

// Its own connection to the file, with the program's collations, and the statements of
// each run prepared on it.
class Replay
{
public:
    Replay(const QString& file, const QList<QStringList>& runs)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
            !CzechText::registerOn(m_db))
            throw AppError(QStringLiteral("raw: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
        for (const QStringList& statements : runs) {
            m_runs.emplace_back();
            for (const QString& sql : statements) {
                const QByteArray text = sql.toUtf8();
                sqlite3_stmt* stmt = nullptr;
                if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
                    throw AppError(
                        QStringLiteral("raw: %1: %2").arg(QString::fromUtf8(sqlite3_errmsg(m_db)), sql));
                m_runs.back().push_back(stmt);
            }
        }
    }
    ~Replay()
    {
        for (const auto& statements : m_runs)
            for (sqlite3_stmt* stmt : statements)
                sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // The next run's statements, from the first again after the last.
    const std::vector<sqlite3_stmt*>& next() { return m_runs[m_next++ % m_runs.size()]; }

    void run(const std::vector<sqlite3_stmt*>& statements)
    {
        qint64 sink = 0;
        for (sqlite3_stmt* stmt : statements) {
            sqlite3_reset(stmt);
            const int columns = sqlite3_column_count(stmt);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int i = 0; i < columns; ++i) {
                    switch (sqlite3_column_type(stmt, i)) {
                    case SQLITE_INTEGER:
                        sink += sqlite3_column_int64(stmt, i);
                        break;
                    case SQLITE_FLOAT:
                        sink += qint64(sqlite3_column_double(stmt, i));
                        break;
                    case SQLITE_TEXT:
                        sink += *sqlite3_column_text(stmt, i) + sqlite3_column_bytes(stmt, i);
                        break;
                    case SQLITE_BLOB:
                        sink += sqlite3_column_bytes(stmt, i);
                        break;
                    default:
                        break;
                    }
                }
            }
        }
        m_sink = sink; // the values are used, so nothing of the fetching is left out
    }

private:
    sqlite3* m_db = nullptr;
    std::vector<std::vector<sqlite3_stmt*>> m_runs;
    size_t m_next = 0;
    volatile qint64 m_sink = 0;
};

} // namespace

namespace RawCases {

QList<QStringList> record(Connection& connection, const std::function<void()>& action, int times)
{
    sqlite3* handle = handleOf(connection);
    QList<QStringList> runs;
    try {
        for (int i = 0; i < times; ++i) {
            runs.append(QStringList());
            sqlite3_trace_v2(handle, SQLITE_TRACE_STMT, traced, &runs.last());
            action();
        }
    } catch (...) {
        sqlite3_trace_v2(handle, 0, nullptr, nullptr);
        throw;
    }
    sqlite3_trace_v2(handle, 0, nullptr, nullptr);
    return runs;
}

BenchCase replay(const QString& name, const QString& databaseFile,
                 std::function<QList<QStringList>()> recorded, int repetitions)
{
    auto replay = std::make_shared<std::unique_ptr<Replay>>();
    BenchCase c;
    c.name = name;
    c.floorFactor = 5;
    c.repetitions = repetitions;
    c.prepare = [replay, databaseFile, recorded] {
        *replay = std::make_unique<Replay>(databaseFile, recorded());
    };
    c.run = [replay] {
        Replay& r = **replay;
        const std::vector<sqlite3_stmt*>& statements = r.next();
        return Sample{elapsedMs([&] { r.run(statements); }), qint64(statements.size())};
    };
    c.finish = [replay] { replay->reset(); };
    return c;
}

} // namespace RawCases
