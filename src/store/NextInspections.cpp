#include "store/NextInspections.h"

#include "store/Connection.h"
#include "store/SqlScript.h"
#include "store/Transaction.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>

namespace NextInspections {

namespace {

const QString table = QStringLiteral("pristi_revize_karet");

QStringList scriptStatements(bool server)
{
    return SqlScript::fromResource(server ? QStringLiteral(":/store/next_inspection.server.sql")
                                          : QStringLiteral(":/store/next_inspection.sqlite.sql"));
}

// On the server, the definition a database holds is noted on the table: a digest of the
// statements that made it.
QString serverDefinition()
{
    return QString::fromLatin1(
        QCryptographicHash::hash(scriptStatements(true).join(u'\n').toUtf8(), QCryptographicHash::Sha256)
            .toHex());
}

const QRegularExpression& createdObject()
{
    static const QRegularExpression object(QStringLiteral("^CREATE\\s+(TRIGGER|VIEW)\\s+(\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return object;
}

// On the file, the database keeps the text of each trigger and view as it was made.
bool fileIsCurrent(Connection& connection)
{
    QHash<QString, QString> existing;
    for (const auto& row :
         connection.query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL")).rows)
        existing.insert(row[0].toString().toLower(), row[1].toString().simplified());
    if (!existing.contains(table))
        return false;
    for (const QString& statement : scriptStatements(false)) {
        const QRegularExpressionMatch m = createdObject().match(statement);
        if (m.hasMatch() && existing.value(m.captured(2).toLower()) != statement.simplified())
            return false;
    }
    return true;
}

bool serverIsCurrent(Connection& connection)
{
    const QStringList statements = scriptStatements(true);
    const auto triggers = std::count_if(statements.cbegin(), statements.cend(), [](const QString& s) {
        const QRegularExpressionMatch m = createdObject().match(s);
        return m.hasMatch() && m.captured(1).compare(u"TRIGGER", Qt::CaseInsensitive) == 0;
    });
    const ResultSet r = connection.query(
        QStringLiteral("SELECT (SELECT obj_description(c.oid, 'pg_class') FROM pg_class c "
                       "JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = current_schema() AND c.relname = 'pristi_revize_karet'), "
                       "(SELECT count(*) FROM pg_trigger g JOIN pg_class c ON c.oid = g.tgrelid "
                       "JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = current_schema() AND NOT g.tgisinternal "
                       "AND g.tgname LIKE 'pristi\\_revize\\_%')"));
    const QVariantList row = r.rows.value(0);
    return row.value(0).toString() == serverDefinition() && row.value(1).toLongLong() == triggers;
}

// ALTER TABLE … ENABLE or DISABLE TRIGGER for each of the server's keeping triggers.
QStringList switchTriggers(const QString& how)
{
    static const QRegularExpression trigger(
        QStringLiteral("^CREATE\\s+TRIGGER\\s+(\\w+)\\s.*?\\sON\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QStringList statements;
    for (const QString& statement : scriptStatements(true))
        if (const QRegularExpressionMatch m = trigger.match(statement); m.hasMatch())
            statements
                << QStringLiteral("ALTER TABLE %1 %2 TRIGGER %3").arg(m.captured(2), how, m.captured(1));
    return statements;
}

} // namespace

QStringList suspendStatements()
{
    return switchTriggers(QStringLiteral("DISABLE"));
}

QStringList resumeStatements()
{
    QStringList statements = switchTriggers(QStringLiteral("ENABLE"));
    const QStringList script = scriptStatements(true);
    const auto refill = std::find_if(script.cbegin(), script.cend(), [](const QString& s) {
        return s.startsWith(QStringLiteral("DELETE FROM ") + table);
    });
    for (auto it = refill; it != script.cend(); ++it)
        statements << *it;
    return statements;
}

QStringList installStatements(bool server)
{
    QStringList statements = scriptStatements(server);
    if (server) {
        // Dropping what is not there yet is no news worth a notice.
        statements.prepend(QStringLiteral("SET LOCAL client_min_messages = warning"));
        statements << QStringLiteral("COMMENT ON TABLE %1 IS '%2'").arg(table, serverDefinition());
    }
    return statements;
}

bool isCurrent(Connection& connection)
{
    return connection.isServer() ? serverIsCurrent(connection) : fileIsCurrent(connection);
}

void ensure(Connection& connection)
{
    if (isCurrent(connection))
        return;
    {
        Transaction transaction(connection);
        for (const QString& statement : installStatements(connection.isServer()))
            connection.execute(statement);
        transaction.commit();
    }
    connection.forgetSchema();
}

} // namespace NextInspections
