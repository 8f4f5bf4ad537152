#include "store/Schema.h"

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/NextInspections.h"
#include "store/ServerDatabase.h"
#include "store/SqlScript.h"
#include "store/Transaction.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace Schema {

QStringList statements()
{
    return SqlScript::fromResource(QStringLiteral(":/store/schema.sql"));
}

void createDatabaseFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DatabaseError(QStringLiteral("Soubor „%1“ už existuje.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DatabaseError(QStringLiteral("Soubor „%1“ nelze založit: %2").arg(path, file.errorString()));
    file.close();
    try {
        Connection connection(QStringLiteral("schema-") + path);
        connection.open(path);
        for (const QString& statement : statements())
            connection.execute(statement);
        for (const QString& statement : NextInspections::installStatements(false))
            connection.execute(statement);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

namespace {

// The server's tables, views, indexes and collations, each with the definition noted with
// it (empty where none is).
QHash<QString, QString> serverObjects(Connection& connection)
{
    QHash<QString, QString> objects;
    for (const auto& row :
         connection
             .query(QStringLiteral("SELECT c.relname, coalesce(obj_description(c.oid, 'pg_class'), '') "
                                   "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                                   "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'v', 'i') "
                                   "UNION ALL SELECT collname, '' FROM pg_collation"))
             .rows)
        objects.insert(row[0].toString().toLower(), row[1].toString());
    return objects;
}

// The server database is laid out by the preparing tool. What a later version adds is
// created when it is missing; a view or index whose noted definition differs from this
// version's (or that has none) is made anew, each in a transaction of its own.
bool upgradeServer(Connection& connection)
{
    static const QRegularExpression object(
        QStringLiteral("^CREATE\\s+(TABLE|VIEW|INDEX|COLLATION)\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    bool ok = true;
    try {
        QHash<QString, QString> existing = serverObjects(connection);
        for (const QString& statement : ServerDatabase::schemaStatements()) {
            const QRegularExpressionMatch m = object.match(statement);
            if (!m.hasMatch())
                continue; // the notes come with their objects
            const QString kind = m.captured(1).toUpper();
            const QString name = m.captured(2).toLower();
            const auto found = existing.constFind(name);
            const bool exists = found != existing.constEnd();
            if (exists && (kind == u"TABLE" || kind == u"COLLATION" ||
                           *found == ServerDatabase::recordedDefinition(statement)))
                continue;
            try {
                Transaction transaction(connection);
                if (exists)
                    connection.execute(QStringLiteral("DROP %1 %2 CASCADE").arg(kind, name));
                connection.execute(statement);
                if (const QString note = ServerDatabase::definitionNote(statement); !note.isEmpty())
                    connection.execute(note);
                transaction.commit();
            } catch (const DatabaseError&) {
                ok = false;
            }
            existing = serverObjects(connection); // a dropped view may have taken others with it
        }
    } catch (const DatabaseError&) {
        ok = false;
    }
    connection.forgetSchema();
    return ok;
}

// The cards' kept next inspections, made or made anew after the tables they are kept from.
bool upgradeNextInspections(Connection& connection)
{
    try {
        NextInspections::ensure(connection);
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

bool upgradeFile(Connection& connection)
{
    static const QRegularExpression object(QStringLiteral("^CREATE\\s+(TABLE|VIEW|INDEX)\\s+(\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto simplified = [](const QString& sql) { return sql.simplified().toLower(); };
    bool ok = true;
    QHash<QString, QString> existing;
    try {
        for (const auto& row :
             connection.query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL"))
                 .rows)
            existing.insert(row[0].toString().toLower(), simplified(row[1].toString()));
    } catch (const DatabaseError&) {
        return false;
    }
    for (const QString& statement : statements()) {
        const QRegularExpressionMatch m = object.match(statement);
        if (!m.hasMatch())
            continue;
        const QString kind = m.captured(1).toUpper();
        const QString name = m.captured(2).toLower();
        const auto found = existing.constFind(name);
        // A table that exists keeps its rows as they are; a view or index is made anew
        // when it is defined otherwise.
        if (found != existing.constEnd() && (kind == u"TABLE" || *found == simplified(statement)))
            continue;
        try {
            Transaction transaction(connection);
            if (found != existing.constEnd())
                connection.execute(QStringLiteral("DROP %1 %2").arg(kind, name));
            connection.execute(statement);
            transaction.commit();
        } catch (const DatabaseError&) {
            ok = false; // the rest is still brought up to date
        }
    }
    connection.forgetSchema();
    return ok;
}

} // namespace

bool upgrade(Connection& connection)
{
    const bool tables = connection.isServer() ? upgradeServer(connection) : upgradeFile(connection);
    return upgradeNextInspections(connection) && tables;
}

} // namespace Schema
