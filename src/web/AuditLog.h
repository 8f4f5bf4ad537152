#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

class Connection;

// A row of web_audit: what happened, by whom, from where, to which row; the row's values
// before and after. Never a password or a token.
struct AuditEntry
{
    QString
        event; // prihlaseni, neuspesne_prihlaseni, zablokovano_pokusy, odhlaseni, zmena_hesla, zapis, oprava
    qint64 account = 0; // 0 when the login is unknown
    QString address;
    QString table;
    qint64 rowId = 0;
    QJsonObject before;
    QJsonObject after;
};

namespace AuditLog {

void write(Connection& connection, const QDateTime& now, const AuditEntry& entry);

} // namespace AuditLog
