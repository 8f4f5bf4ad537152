#include "store/PostgresEngine.h"

#include "store/DatabaseError.h"
#include "store/ServerDatabase.h"
#include "store/SqlDialect.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {

QString reason(const QSqlError& error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

// The kind of a result column from the server's type.
ColumnInfo describeField(const QSqlField& field)
{
    ColumnInfo info;
    info.name = field.name();
    switch (field.typeID()) {
    case 16: // boolean
        info.kind = ColumnKind::YesNo;
        break;
    case 20: // bigint
    case 23: // integer
        info.kind = field.name() == u"id" ? ColumnKind::AutoKey : ColumnKind::Integer;
        break;
    case 21: // smallint: the year of manufacture
        info.kind = ColumnKind::Year;
        break;
    case 25: // text
        info.kind = ColumnKind::LongText;
        break;
    case 700:
    case 701:
        info.kind = ColumnKind::Float;
        break;
    case 1082:
        info.kind = ColumnKind::Date;
        break;
    case 1114:
    case 1184:
        info.kind = ColumnKind::DateTime;
        break;
    case 1700: // numeric(19,4): money
        info.kind = ColumnKind::Money;
        break;
    default:
        info.kind = ColumnKind::Text;
        info.maxLength = field.length() > 0 ? field.length() : 0;
        break;
    }
    return info;
}

// An error of the connection rather than of the statement: the server's codes of a broken
// connection or of a server shutting down, or no code at all when the client lost the line.
bool mayBeLostConnection(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code.isEmpty() || code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"));
}

// Stored values as the file gives them: dates as text, yes/no as 0 and 1.
QVariant bindable(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

// The program's statements are short look-ups; compiling the few large ones (the counts of
// the revision plan) costs the server tens of milliseconds and never pays back.
void tuneSession(const QSqlDatabase& db)
{
    QSqlQuery(db).exec(QStringLiteral("SET jit = off"));
}

} // namespace

PostgresEngine::PostgresEngine(const QString& connectionName, const QString& connectionString)
    : m_name(connectionName)
{
    QSqlDatabase db = ServerDatabase::connect(connectionString, m_name);
    db.setNumericalPrecisionPolicy(QSql::HighPrecision); // money comes exact, as text
    tuneSession(db);
    m_description = QStringLiteral("%1/%2").arg(db.hostName(), db.databaseName());
}

PostgresEngine::~PostgresEngine()
{
    m_prepared.clear();
    releaseQtConnection(m_name);
}

QSqlDatabase PostgresEngine::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery& PostgresEngine::run(const QString& sql, const QVariantList& params)
{
    const QString text = SqlDialect::forServer(sql);
    QSqlQuery* query = nullptr;
    if (params.isEmpty()) {
        // Sent as it is, never prepared: nothing to keep (its text may hold ids, and a long
        // session would gather one of each).
        m_unprepared = std::make_shared<QSqlQuery>(database());
        query = m_unprepared.get();
    } else {
        std::shared_ptr<QSqlQuery>& prepared = m_prepared[text];
        if (!prepared) {
            prepared = std::make_shared<QSqlQuery>(database());
            prepared->setForwardOnly(true);
            countStatement(); // the server prepares it in a trip of its own
            if (!prepared->prepare(text)) {
                const QString why = reason(prepared->lastError());
                m_prepared.remove(text);
                throw DatabaseError(why);
            }
        }
        query = prepared.get();
    }
    query->setForwardOnly(true);
    countStatement();
    bool ok = false;
    if (params.isEmpty()) {
        ok = query->exec(text);
    } else {
        for (int i = 0; i < params.size(); ++i)
            query->bindValue(i, bindable(params[i]));
        ok = query->exec();
    }
    if (!ok) {
        const QSqlError error = query->lastError();
        const QString why = reason(error);
        throw DatabaseError(mayBeLostConnection(error) && connectionLost() ? lostConnectionMessage(why)
                                                                           : why);
    }
    return *query;
}

bool PostgresEngine::connectionLost()
{
    QSqlQuery probe(database());
    if (probe.exec(QStringLiteral("SELECT 1")) || !mayBeLostConnection(probe.lastError()))
        return false;
    // The server's session is gone, and with it every prepared statement and any open
    // transaction. One attempt to connect again, so that the user's next try can work.
    m_prepared.clear();
    QSqlDatabase db = database();
    db.close();
    m_reconnected = db.open();
    if (m_reconnected)
        tuneSession(db);
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
    QSqlQuery& q = run(sql, params);
    ResultSet result;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        result.columns.append(describeField(record.field(i)));
    while (q.next()) {
        QList<QVariant> row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row.append(q.isNull(i) ? QVariant() : q.value(i));
        result.rows.append(std::move(row));
    }
    q.finish();
    return result;
}

int PostgresEngine::execute(const QString& sql, const QVariantList& params)
{
    QSqlQuery& q = run(sql, params);
    const int changed = q.numRowsAffected();
    q.finish();
    return changed;
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

void PostgresEngine::forgetStatements()
{
    m_prepared.clear();
    m_rowKeys.clear();
}
