#include "store/PostgresEngine.h"

#include "store/DatabaseError.h"
#include "store/ServerDatabase.h"
#include "store/SqlDialect.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlDriver>

#include <vector>

namespace {

// The server's code of the error, empty when the client lost the line before any came.
QString errorCode(const PGresult* result)
{
    const char* code = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return code ? QString::fromLatin1(code) : QString();
}

// An error of the connection rather than of the statement: the server's codes of a broken
// connection or of a server shutting down, or no code at all when the client lost the line.
bool mayBeLostConnection(const QString& code)
{
    return code.isEmpty() || code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"));
}

// Stored values as the file gives them: dates as text, yes/no as 0 and 1.
QVariant bindable(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

bool succeeded(const PGresult* result)
{
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

} // namespace

PostgresEngine::PostgresEngine(const QString& connectionName, const QString& connectionString)
    : m_name(connectionName)
{
    QSqlDatabase db = ServerDatabase::connect(connectionString, m_name);
    db.setNumericalPrecisionPolicy(QSql::HighPrecision); // the report library reads money exact
    m_connection = handleOf(db);
    tuneSession();
    m_description = QStringLiteral("%1/%2").arg(db.hostName(), db.databaseName());
}

PostgresEngine::~PostgresEngine()
{
    releaseQtConnection(m_name);
}

QSqlDatabase PostgresEngine::database() const
{
    return QSqlDatabase::database(m_name, false);
}

PGconn* PostgresEngine::handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    // Qt names the type after the struct behind libpq's typedef.
    const bool isLibpq = handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 ||
                                              qstrcmp(handle.typeName(), "pg_conn*") == 0);
    PGconn* connection = isLibpq ? *static_cast<PGconn* const*>(handle.data()) : nullptr;
    if (!connection)
        throw DatabaseError(QStringLiteral("Spojení s databázovým serverem není otevřeno."));
    return connection;
}

// The program's statements are short look-ups; compiling the few large ones (the counts of
// the revision plan) costs the server tens of milliseconds and never pays back.
void PostgresEngine::tuneSession()
{
    PgResult(PQexec(m_connection, "SET jit = off"));
}

// Statements go to the server through libpq itself: Qt's driver reads a result row by row and
// converts each value through its own parsers, several times slower on the revision plan's
// thousands of rows. Qt keeps the connection (opening, the password, closing).
PgResult PostgresEngine::run(const QString& sql, const QVariantList& params)
{
    const QByteArray text = SqlDialect::forServer(sql).toUtf8();
    PgResult result;
    if (params.isEmpty()) {
        // Sent as it is, never prepared: nothing to keep (its text may hold ids, and a long
        // session would gather one of each).
        countStatement();
        result.reset(PQexec(m_connection, text.constData()));
    } else {
        QByteArray& name = m_prepared[text];
        if (name.isEmpty()) {
            const QByteArray fresh = "vestibor_" + QByteArray::number(++m_statementNames);
            const QByteArray numbered = SqlDialect::numberedPlaceholders(QString::fromUtf8(text)).toUtf8();
            countStatement(); // the server prepares it in a trip of its own
            PgResult prepared(PQprepare(m_connection, fresh.constData(), numbered.constData(), 0, nullptr));
            if (!succeeded(prepared.get())) {
                m_prepared.remove(text);
                fail(prepared.get());
            }
            name = fresh;
        }
        QList<QByteArray> texts;
        std::vector<const char*> values;
        texts.reserve(params.size());
        values.reserve(params.size());
        for (const QVariant& param : params) {
            const QVariant bound = bindable(param);
            texts.append(PostgresResult::parameterText(bound));
            // A null value is SQL's null; an empty text is an empty text.
            values.push_back(bound.isNull()          ? nullptr
                             : texts.last().isNull() ? ""
                                                     : texts.last().constData());
        }
        countStatement();
        result.reset(PQexecPrepared(m_connection, name.constData(), int(values.size()), values.data(),
                                    nullptr, nullptr, 0));
    }
    if (!succeeded(result.get()))
        fail(result.get());
    return result;
}

void PostgresEngine::fail(const PGresult* result)
{
    // As the server words it, with its code: "ERROR:  … (23505)".
    const QString code = errorCode(result);
    QString why = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(m_connection));
    if (why.trimmed().isEmpty())
        why = QString::fromUtf8(PQerrorMessage(m_connection));
    if (!code.isEmpty())
        why += QStringLiteral("(%1)").arg(code);
    why = why.trimmed();
    throw DatabaseError(mayBeLostConnection(code) && connectionLost() ? lostConnectionMessage(why) : why);
}

bool PostgresEngine::connectionLost()
{
    if (PQstatus(m_connection) == CONNECTION_OK) {
        const PgResult probe(PQexec(m_connection, "SELECT 1"));
        if (succeeded(probe.get()) || !mayBeLostConnection(errorCode(probe.get())))
            return false;
    }
    // The server's session is gone, and with it every prepared statement and any open
    // transaction. One attempt to connect again, so that the user's next try can work.
    m_prepared.clear();
    QSqlDatabase db = database();
    db.close();
    m_reconnected = db.open();
    if (m_reconnected) {
        m_connection = handleOf(db);
        tuneSession();
    }
    return true;
}

QString PostgresEngine::lostConnectionMessage(const QString& why) const
{
    return QStringLiteral("Spojení s databázovým serverem se přerušilo, akce nebyla provedena.\r\n%1\r\n")
               .arg(why) +
           (m_reconnected ? QStringLiteral("Spojení je znovu navázáno: akci zopakujte.")
                          : QStringLiteral("Server je nedostupný: akci zopakujte, až bude opět v provozu."));
}

ResultSet PostgresEngine::query(const QString& sql, const QVariantList& params)
{
    return PostgresResult::rows(run(sql, params).get());
}

int PostgresEngine::execute(const QString& sql, const QVariantList& params)
{
    const PgResult result = run(sql, params);
    return QByteArray(PQcmdTuples(result.get())).toInt();
}

void PostgresEngine::executeMany(const QString& sql, const QList<QVariantList>& rows)
{
    for (const QVariantList& params : rows)
        execute(sql, params);
}

qint64 PostgresEngine::insert(const QString& sql, const QVariantList& params)
{
    static const QRegularExpression table(QStringLiteral("^\\s*INSERT\\s+INTO\\s+(\\w+)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = table.match(sql);
    if (!m.hasMatch())
        throw DatabaseError(QStringLiteral("Příkaz není INSERT: %1").arg(sql));
    const ResultSet r = query(sql + QStringLiteral(" RETURNING ") + rowKey(m.captured(1)), params);
    return r.rows.value(0).value(0).toLongLong();
}

QList<ColumnInfo> PostgresEngine::tableColumns(const QString& table)
{
    const ResultSet info = query(
        QStringLiteral("SELECT column_name, data_type, character_maximum_length, is_identity, numeric_scale "
                       "FROM information_schema.columns WHERE table_schema = current_schema() "
                       "AND table_name = lower(?) AND column_name <> 'rowid' ORDER BY ordinal_position"),
        {table});
    QList<ColumnInfo> columns;
    for (const auto& row : info.rows) {
        ColumnInfo c;
        c.name = row[0].toString();
        c.table = table;
        const QString type = row[1].toString();
        if (type == u"boolean")
            c.kind = ColumnKind::YesNo;
        else if (type == u"numeric")
            c.kind = ColumnKind::Money;
        else if (type == u"date")
            c.kind = ColumnKind::Date;
        else if (type.startsWith(u"timestamp"))
            c.kind = ColumnKind::DateTime;
        else if (type == u"smallint")
            c.kind = ColumnKind::Year;
        else if (type == u"integer" || type == u"bigint")
            c.kind = row[3].toString() == u"YES" ? ColumnKind::AutoKey : ColumnKind::Integer;
        else if (type == u"text")
            c.kind = ColumnKind::LongText;
        else if (type == u"double precision" || type == u"real")
            c.kind = ColumnKind::Float;
        else {
            c.kind = ColumnKind::Text;
            c.maxLength = row[2].toInt();
        }
        columns.append(c);
    }
    return columns;
}

bool PostgresEngine::hasTable(const QString& table)
{
    return !query(QStringLiteral(
                      "SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                      "AND table_name = lower(?)"),
                  {table})
                .isEmpty();
}

QString PostgresEngine::rowKey(const QString& table)
{
    const QString key = table.toLower();
    if (!m_rowKeys.contains(key)) {
        // Every table has its id but the technicians', which has a hidden key of its own.
        // The catalogue is slow to ask and each question a trip: all tables are read at
        // once, again only for a table made since.
        const ResultSet tables = query(
            QStringLiteral("SELECT table_name, bool_or(column_name = 'id') FROM information_schema.columns "
                           "WHERE table_schema = current_schema() GROUP BY table_name"),
            {});
        for (const auto& row : tables.rows)
            m_rowKeys.insert(row[0].toString(),
                             row[1].toBool() ? QStringLiteral("id") : QStringLiteral("rowid"));
        if (!m_rowKeys.contains(key))
            m_rowKeys.insert(key, QStringLiteral("rowid")); // no such table: its statement says so
    }
    return m_rowKeys.value(key);
}

void PostgresEngine::begin(int depth)
{
    execute(depth == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT sp%1").arg(depth), {});
}

void PostgresEngine::commit(int depth)
{
    execute(depth == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth), {});
}

void PostgresEngine::rollback(int depth)
{
    execute(depth == 0 ? QStringLiteral("ROLLBACK") : QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(depth),
            {});
}

// An import commits each row on its own: the server need not wait for the disk at each of
// them. Its end waits for all of them at once: a commit that has to be flushed takes every
// earlier one along, so when the import is reported done, every row of it is on the disk.
void PostgresEngine::beginBulkWrite()
{
    execute(QStringLiteral("SET synchronous_commit = off"), {});
}

void PostgresEngine::endBulkWrite()
{
    execute(QStringLiteral("SET synchronous_commit = on"), {});
    query(QStringLiteral("SELECT txid_current()"), {}); // a commit of its own, flushed
}

void PostgresEngine::forgetStatements()
{
    // Statements prepared before a change of the tables may no longer fit them.
    QByteArray deallocate;
    for (const QByteArray& name : std::as_const(m_prepared))
        deallocate += "DEALLOCATE " + name + ";";
    if (!deallocate.isEmpty() && PQstatus(m_connection) == CONNECTION_OK)
        PgResult(PQexec(m_connection, deallocate.constData()));
    m_prepared.clear();
    m_rowKeys.clear();
}
