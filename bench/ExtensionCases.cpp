#include "ExtensionCases.h"

#include "BenchCases.h"
#include "WorkDatabase.h"

#include "helpers/AppError.h"
#include "uikit/AppContext.h"

#include <memory>
#include <sqlite3.h>

namespace {

// The index on the name would hand the rows over in order without comparing any: the sort
// itself, and with it the collation, is what is measured.
const QString sortedCustomers =
    QStringLiteral("SELECT id, nazev FROM cis_zakaznici NOT INDEXED ORDER BY nazev");

// Both cases are timed in processor time and run often: they are compared with each other,
// and the sort waits for nothing.
constexpr int repetitions = 20;

BenchCase programSort(BenchEnv& env)
{
    BenchCase c;
    c.repetitions = repetitions;
    c.run = [&env] { return Sample{threadCpuMs([&] { env.context.connection.query(sortedCustomers); }), 1}; };
    c.name =
        QStringLiteral("Sort of %1 customers by name, program (CPU ms)").arg(onMeasuredCustomers(env, c));
    return c;
}

// A plain connection to the database file, as another tool has it, with the extension loaded.
class ToolConnection
{
public:
    explicit ToolConnection(const QString& file)
    {
        char* error = nullptr;
        const QByteArray sql = sortedCustomers.toUtf8();
        if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
            sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr) != SQLITE_OK ||
            sqlite3_load_extension(m_db, VESTIBOR_EXTENSION_FILE, nullptr, &error) != SQLITE_OK ||
            sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_sort, nullptr) != SQLITE_OK) {
            const QString text = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
            sqlite3_free(error);
            sqlite3_close(m_db);
            throw AppError(QStringLiteral("extension: %1").arg(text));
        }
    }
    ~ToolConnection()
    {
        sqlite3_finalize(m_sort);
        sqlite3_close(m_db);
    }
    ToolConnection(const ToolConnection&) = delete;
    ToolConnection& operator=(const ToolConnection&) = delete;

    // Every row of the sort, with its values read.
    void sort()
    {
        qint64 sink = 0;
        sqlite3_reset(m_sort);
        while (sqlite3_step(m_sort) == SQLITE_ROW)
            sink += sqlite3_column_int64(m_sort, 0) + sqlite3_column_bytes(m_sort, 1);
        m_sink = sink;
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_sort = nullptr;
    volatile qint64 m_sink = 0;
};

BenchCase extensionSort(BenchEnv& env)
{
    auto tool = std::make_shared<std::unique_ptr<ToolConnection>>();
    BenchCase c;
    c.repetitions = repetitions;
    c.withinFactor = 1.2;
    c.prepare = [&env, tool] { *tool = std::make_unique<ToolConnection>(env.database.filePath()); };
    c.run = [tool] { return Sample{threadCpuMs([&] { (*tool)->sort(); }), 1}; };
    c.finish = [tool] { tool->reset(); };
    c.name = QStringLiteral("Sort of %1 customers by name, sqlite3 with vestibor_sqlite (CPU ms)")
                 .arg(onMeasuredCustomers(env, c));
    return c;
}

} // namespace

QList<BenchCase> extensionCases(BenchEnv& env)
{
    if (env.database.filePath().isEmpty())
        return {};
    return {programSort(env), extensionSort(env)};
}
