#include "store/Schema.h"

#include "store/Connection.h"
#include "store/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

// The schema is a resource of the static library; it must be registered before use.
static void ensureResources()
{
    Q_INIT_RESOURCE(store);
}

namespace Schema {

QStringList statements()
{
    ensureResources();
    QFile file(QStringLiteral(":/store/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Schéma databáze chybí v programu."));
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    QStringList result;
    for (const QString& part : text.split(u';')) {
        const QString statement = part.trimmed();
        if (!statement.isEmpty())
            result.append(statement);
    }
    return result;
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
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

bool upgradeIndexes(Connection& connection)
{
    static const QRegularExpression indexName(QStringLiteral("^CREATE\\s+INDEX\\s+(\\w+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const auto simplified = [](const QString& sql) { return sql.simplified().toLower(); };
    try {
        QHash<QString, QString> existing;
        for (const auto& row :
             connection.query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index'")).rows)
            existing.insert(row[0].toString().toLower(), simplified(row[1].toString()));
        for (const QString& statement : statements()) {
            const QRegularExpressionMatch m = indexName.match(statement);
            if (!m.hasMatch() || existing.value(m.captured(1).toLower()) == simplified(statement))
                continue;
            Transaction transaction(connection);
            connection.execute(QStringLiteral("DROP INDEX IF EXISTS ") + m.captured(1));
            connection.execute(statement);
            transaction.commit();
        }
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

} // namespace Schema
