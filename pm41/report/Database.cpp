#include "report/Database.h"

#include "report/ReportError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace pm41 {

namespace {

const QString sqliteDriver = QStringLiteral("QSQLITE");
const QString serverDriver = QStringLiteral("QPSQL");

[[noreturn]] void notPrepared(const QSqlQuery& q)
{
    fail(0,
         QStringLiteral("Databázi nelze připravit ke čtení sestavy: %1").arg(databaseWords(q.lastError())));
}

void run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        notPrepared(q);
}

} // namespace

DatabaseKind databaseKind(const QSqlDatabase& db)
{
    const QString driver = db.driverName();
    if (driver == sqliteDriver)
        return DatabaseKind::File;
    if (driver == serverDriver)
        return DatabaseKind::Server;
    fail(0, QStringLiteral("Sestavy čtou databázový soubor programu nebo databázový server PostgreSQL; "
                           "spojení přes ovladač „%1“ číst neumějí.")
                .arg(driver));
}

QString driverName(DatabaseKind kind)
{
    return kind == DatabaseKind::File ? sqliteDriver : serverDriver;
}

QVariant dateValue(DatabaseKind kind, const QDate& date)
{
    return kind == DatabaseKind::File ? QVariant(date.toString(Qt::ISODate)) : QVariant(date);
}

QString databaseWords(const QSqlError& error)
{
    // The server's: "ERROR:  relation … does not exist\nLINE 1: PREPARE … AS SELECT …\n ^\n(42P01)";
    // the file's are one line.
    static const QRegularExpression severity(QStringLiteral("^\\S+:  "));
    return error.databaseText().trimmed().section(u'\n', 0, 0).remove(severity).trimmed();
}

QVariant valueAsOnFile(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: {
        const QDateTime at = value.toDateTime();
        return at.toString(at.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                            : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::Bool:
        return qint64(value.toBool() ? 1 : 0);
    default:
        return value;
    }
}

ReadOnlyReading::ReadOnlyReading(const QSqlDatabase& db, DatabaseKind kind) : m_db(db), m_kind(kind)
{
    QSqlQuery q(db);
    if (kind == DatabaseKind::File) {
        // Already on: someone else lifts it again.
        if (q.exec(QStringLiteral("PRAGMA query_only")) && q.next() && q.value(0).toInt() != 0)
            return;
        run(db, QStringLiteral("PRAGMA query_only = 1"));
        m_active = true;
        return;
    }
    // A statement outside a transaction block is a transaction of its own, begun when the
    // statement came; inside the program's block it came later than the block began. The
    // rollback at the end would undo the program's work there, so the report waits.
    if (!q.exec(QStringLiteral("SELECT transaction_timestamp() = statement_timestamp()")) || !q.next())
        notPrepared(q);
    if (!q.value(0).toBool())
        fail(0, QStringLiteral("Sestavu teď nelze sestavit: program právě zapisuje do databáze. Zkuste to "
                               "prosím za chvíli znovu."));
    run(db, QStringLiteral("BEGIN READ ONLY"));
    m_active = true;
    // Nobody reads the server's notices about a query (a long name cut short, say); its
    // warnings and errors still come. Nothing to refuse here: the constructor has begun.
    QSqlQuery(db).exec(QStringLiteral("SET LOCAL client_min_messages = warning"));
}

ReadOnlyReading::~ReadOnlyReading()
{
    if (m_active)
        QSqlQuery(m_db).exec(m_kind == DatabaseKind::File ? QStringLiteral("PRAGMA query_only = 0")
                                                          : QStringLiteral("ROLLBACK"));
}

} // namespace pm41
