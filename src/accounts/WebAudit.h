#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>

class Connection;

// One row of web_audit: who did what, from where, to which row. Never a password or a
// session token: the values are the row's columns that changed, without its hash.
struct AuditEntry
{
    QString event;      // udalost: prihlaseni, neuspesne_prihlaseni, zapis, ucet_pridan, …
    QVariant account;   // ucet: the account that acted, null when unknown
    QString address;    // adresa: the client's address, empty when none
    QString table;      // tabulka
    QVariant rowId;     // id_radku
    QJsonObject before; // pred, empty for none
    QJsonObject after;  // po, empty for none
};

namespace WebAudit {

// Writes the row with the time of now (UTC), in the caller's transaction when one is open.
void write(Connection& connection, const AuditEntry& entry);

} // namespace WebAudit
