#include "support/SeedData.h"

#include "store/Connection.h"

void addCustomer(Connection& c, const QString& name, const QVariant& town, const QVariant& company)
{
    c.execute(QStringLiteral("INSERT INTO cis_zakaznici (nazev, mesto, je_firma) VALUES (?, ?, ?)"),
              {name, town, company});
}

void addCustomers(Connection& c, const QStringList& names)
{
    for (const QString& name : names)
        addCustomer(c, name);
}

void addKotleAndRevize(Connection& c, const QStringList& moreKinds)
{
    c.execute(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Kotle', 12)"));
    for (const QString& kind : QStringList{QStringLiteral("Revize")} + moreKinds)
        c.execute(QStringLiteral("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES (?)"), {kind});
}
