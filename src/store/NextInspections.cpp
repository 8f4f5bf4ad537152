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

// On the file, the database keeps the text of each trigger and view as it was made.
bool fileIsCurrent(Connection& connection)
{
    QHash<QString, QString> existing;
    for (const auto& row :
         connection.query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL")).rows)
        existing.insert(row[0].toString().toLower(), row[1].toString().simplified());
    if (!existing.contains(table))
        return false;
    static const QRegularExpression createdObject(QStringLiteral("^CREATE\\s+(TRIGGER|VIEW)\\s+(\\w+)"),
                                                  QRegularExpression::CaseInsensitiveOption);
    for (const QString& statement : scriptStatements(false)) {
        const QRegularExpressionMatch m = createdObject.match(statement);
        if (m.hasMatch() && existing.value(m.captured(2).toLower()) != statement.simplified())
            return false;
    }
    return true;
}

// The server's keeping triggers, each with the table it is on.
QList<std::pair<QString, QString>> serverTriggers()
{
    static const QRegularExpression trigger(
        QStringLiteral("^CREATE\\s+TRIGGER\\s+(\\w+)\\s.*?\\sON\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QList<std::pair<QString, QString>> triggers;
    for (const QString& statement : scriptStatements(true))
        if (const QRegularExpressionMatch m = trigger.match(statement); m.hasMatch())
            triggers.append({m.captured(1), m.captured(2)});
    return triggers;
}

bool serverIsCurrent(Connection& connection)
{
    const ResultSet r = connection.query(
        QStringLiteral("SELECT (SELECT obj_description(c.oid, 'pg_class') FROM pg_class c "
                       "JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = current_schema() AND c.relname = 'pristi_revize_karet'), "
                       "(SELECT count(*) FROM pg_trigger g JOIN pg_class c ON c.oid = g.tgrelid "
                       "JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = current_schema() AND NOT g.tgisinternal "
                       "AND g.tgname LIKE 'pristi\\_revize\\_%')"));
    const QVariantList row = r.rows.value(0);
    return row.value(0).toString() == serverDefinition() &&
           row.value(1).toLongLong() == serverTriggers().size();
}

// ALTER TABLE … ENABLE or DISABLE TRIGGER for each of the server's keeping triggers.
QStringList switchTriggers(const QString& how)
{
    QStringList statements;
    for (const auto& [name, onTable] : serverTriggers())
        statements << QStringLiteral("ALTER TABLE %1 %2 TRIGGER %3").arg(onTable, how, name);
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
