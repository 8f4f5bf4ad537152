#include "web/AuditLog.h"

#include "store/Connection.h"
#include "web/StoredTime.h"

#include <QJsonDocument>

namespace AuditLog {

namespace {

QVariant nullWhenZero(qint64 value)
{
    return value ? QVariant(value) : QVariant(QMetaType::fromType<qint64>());
}

QVariant json(const QJsonObject& object)
{
    if (object.isEmpty())
        return QVariant(QMetaType::fromType<QString>());
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

void write(Connection& connection, const QDateTime& now, const AuditEntry& entry)
{
    connection.execute(
        QStringLiteral("INSERT INTO web_audit (cas, ucet, adresa, udalost, tabulka, id_radku, pred, "
                       "po) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {StoredTime::text(now), nullWhenZero(entry.account), entry.address.left(45), entry.event,
         entry.table.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(entry.table),
         nullWhenZero(entry.rowId), json(entry.before), json(entry.after)});
}

} // namespace AuditLog
