#include "report/Database.h"

#include "report/ReportError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>

namespace pm41 {

namespace {

const QString sqliteDriver = QStringLiteral("QSQLITE");
const QString serverDriver = QStringLiteral("QPSQL");

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

} // namespace pm41
