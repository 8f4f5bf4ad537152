#include "accounts/WebAudit.h"

#include "store/ColumnKind.h"
#include "store/Connection.h"

#include <QDateTime>
#include <QJsonDocument>

namespace WebAudit {

namespace {

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant jsonOrNull(const QJsonObject& values)
{
    return values.isEmpty()
               ? QVariant()
               : QVariant(QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact)));
}

} // namespace

void write(Connection& connection, const AuditEntry& entry)
{
    connection.execute(
        QStringLiteral("INSERT INTO web_audit (cas, ucet, adresa, udalost, tabulka, id_radku, pred, po) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {FieldValues::toStorage(ColumnKind::DateTime, QDateTime::currentDateTimeUtc()), entry.account,
         textOrNull(entry.address), entry.event, textOrNull(entry.table), entry.rowId,
         jsonOrNull(entry.before), jsonOrNull(entry.after)});
}

} // namespace WebAudit
