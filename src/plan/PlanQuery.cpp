#include "plan/PlanQuery.h"

#include "store/Connection.h"

namespace PlanQuery {

namespace {

// Cards are found by their kept next inspection through its index: the watched customers'
// by watching and date, the others' by date. The kept row holds the card's latest activity
// and reminder too; the card, its customer, category and activity kind are looked up by key.
Reading reading(Customers customers, bool withoutNext, const QString& after, const QDate& until)
{
    QString which;
    switch (customers) {
    case Customers::All:
        break;
    case Customers::Watched:
        which = QStringLiteral("p.hlidani_revizi = TRUE AND ");
        break;
    case Customers::Unwatched:
        which = QStringLiteral("COALESCE(p.hlidani_revizi, FALSE) = FALSE AND ");
        break;
    }
    const QString due = withoutNext ? QStringLiteral("(p.datum IS NULL OR (p.datum > ? AND p.datum <= ?))")
                                    : QStringLiteral("p.datum > ? AND p.datum <= ?");
    return {QStringLiteral(
                "SELECT t.id AS id_topneho_zdroje, z.id AS id_zakaznika, z.hlidani_revizi, p.datum AS "
                "pristi_revize, "
                "z.nazev AS zakaznik, z.mesto, z.tel AS telefon, z.mobil, z.email, t.nazev AS zdroj, "
                "t.vyrobni_cislo, "
                "k.nazev_kategorie AS kategorie, p.posledni_datum, d.nazev_cinnosti AS posledni_cinnost, "
                "p.upozorneno, p.zpusob_upozorneni "
                "FROM pristi_revize_karet p CROSS JOIN topny_zdroj t CROSS JOIN cis_zakaznici z "
                "LEFT JOIN cis_kategorie k ON k.id = t.kategorie "
                "LEFT JOIN cis_cinnost d ON d.id = p.posledni_cinnost "
                "WHERE ") +
                which + due + QStringLiteral(" AND t.id = p.id_topneho_zdroje AND z.id = t.id_zakaznika"),
            {after, until.toString(Qt::ISODate)}};
}

} // namespace

Reading upTo(const QDate& until, Customers customers)
{
    return reading(customers, true, QStringLiteral("0001-01-01"), until);
}

Reading between(const QDate& after, const QDate& until, Customers customers)
{
    return reading(customers, false, after.toString(Qt::ISODate), until);
}

bool accepts(const PlanFilter& filter, bool watched, const QDate& next)
{
    if (filter.watchedOnly && !watched)
        return false;
    return next.isValid() ? next <= filter.until : filter.withoutNext;
}

int overdueCount(Connection& connection, const QDate& today)
{
    // Counted in the index of the kept dates alone.
    const ResultSet r = connection.query(
        QStringLiteral("SELECT count(*) FROM pristi_revize_karet WHERE hlidani_revizi = TRUE AND datum < ?"),
        {today.toString(Qt::ISODate)});
    return r.rows.value(0).value(0).toInt();
}

} // namespace PlanQuery
