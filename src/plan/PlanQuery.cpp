#include "plan/PlanQuery.h"

#include "store/Connection.h"

namespace PlanQuery {

QString sql()
{
    // Every card's next inspection is worked out once, up front; then customers, their
    // cards (the written join order keeps it so), and for each card its latest activity and
    // reminder, each found by one look-up in an index that holds what is shown.
    return QStringLiteral(
        "WITH p AS MATERIALIZED (SELECT id_topneho_zdroje, datum FROM pristi_revize) "
        "SELECT t.id AS id_topneho_zdroje, z.id AS id_zakaznika, z.hlidani_revizi, p.datum AS pristi_revize, "
        "z.nazev AS zakaznik, z.mesto, z.tel AS telefon, z.mobil, z.email, t.nazev AS zdroj, "
        "t.vyrobni_cislo, "
        "k.nazev_kategorie AS kategorie, "
        "(SELECT c.datum FROM cinnosti c WHERE c.id_topneho_zdroje = t.id "
        "ORDER BY c.datum DESC, c.id DESC LIMIT 1) AS posledni_datum, "
        "(SELECT d.nazev_cinnosti FROM cis_cinnost d WHERE d.id = (SELECT c.cinnost FROM cinnosti c "
        "WHERE c.id_topneho_zdroje = t.id ORDER BY c.datum DESC, c.id DESC LIMIT 1)) AS posledni_cinnost, "
        "lu.datum AS upozorneno, lu.zpusob AS zpusob_upozorneni "
        "FROM cis_zakaznici z CROSS JOIN topny_zdroj t CROSS JOIN p "
        "LEFT JOIN cis_kategorie k ON k.id = t.kategorie "
        "LEFT JOIN upozorneni lu ON lu.id = (SELECT u.id FROM upozorneni u WHERE u.id_topneho_zdroje = t.id "
        "ORDER BY u.datum DESC, u.id DESC LIMIT 1) "
        "WHERE t.id_zakaznika = z.id AND p.id_topneho_zdroje = t.id "
        "AND (? = 0 OR (? = 1) = (COALESCE(z.hlidani_revizi, FALSE) = TRUE)) "
        "AND ((? = 1 AND p.datum IS NULL) OR (p.datum > ? AND p.datum <= ?))");
}

namespace {

QVariantList paramsFor(Customers customers, bool withoutNext, const QString& after, const QDate& until)
{
    return {customers == Customers::All ? 0 : 1, customers == Customers::Watched ? 1 : 0, withoutNext ? 1 : 0,
            after, until.toString(Qt::ISODate)};
}

} // namespace

QVariantList params(const QDate& until, Customers customers)
{
    return paramsFor(customers, true, QStringLiteral("0001-01-01"), until);
}

QVariantList paramsBetween(const QDate& after, const QDate& until, Customers customers)
{
    return paramsFor(customers, false, after.toString(Qt::ISODate), until);
}

QHash<int, int> customerOrder(Connection& connection)
{
    const ResultSet r = connection.query(QStringLiteral("SELECT id FROM cis_zakaznici ORDER BY nazev, id"));
    QHash<int, int> order;
    order.reserve(r.rows.size());
    for (int i = 0; i < r.rows.size(); ++i)
        order.insert(r.rows[i][0].toInt(), i);
    return order;
}

bool accepts(const PlanFilter& filter, bool watched, const QDate& next)
{
    if (filter.watchedOnly && !watched)
        return false;
    return next.isValid() ? next <= filter.until : filter.withoutNext;
}

int overdueCount(Connection& connection, const QDate& today)
{
    const ResultSet r = connection.query(
        QStringLiteral(
            "SELECT count(*) FROM cis_zakaznici z CROSS JOIN topny_zdroj t CROSS JOIN pristi_revize p "
            "WHERE t.id_zakaznika = z.id AND p.id_topneho_zdroje = t.id AND z.hlidani_revizi = TRUE "
            "AND p.datum < ?"),
        {today.toString(Qt::ISODate)});
    return r.rows.value(0).value(0).toInt();
}

} // namespace PlanQuery
