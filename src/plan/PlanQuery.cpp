#include "plan/PlanQuery.h"

#include "store/Connection.h"

namespace PlanQuery {

QString sql()
{
    // The customers first, so that a watched-only plan touches only their cards; the last
    // activity and the last reminder are looked up only for the rows that are listed.
    return QStringLiteral(
        "SELECT t.id AS id_topneho_zdroje, z.id AS id_zakaznika, p.datum AS pristi_revize, "
        "CAST(julianday(p.datum) - julianday(?) AS INTEGER) AS dni, "
        "z.nazev AS zakaznik, z.mesto, z.tel AS telefon, z.mobil, z.email, t.nazev AS zdroj, t.vyrobni_cislo, "
        "k.nazev_kategorie AS kategorie, "
        "(SELECT c.datum FROM cinnosti c WHERE c.id_topneho_zdroje = t.id ORDER BY c.datum DESC, c.id DESC "
        "LIMIT 1) AS posledni_datum, "
        "(SELECT d.nazev_cinnosti FROM cinnosti c JOIN cis_cinnost d ON d.id = c.cinnost "
        "WHERE c.id_topneho_zdroje = t.id ORDER BY c.datum DESC, c.id DESC LIMIT 1) AS posledni_cinnost, "
        "(SELECT max(u.datum) FROM upozorneni u WHERE u.id_topneho_zdroje = t.id) AS upozorneno, "
        "(SELECT u.zpusob FROM upozorneni u WHERE u.id_topneho_zdroje = t.id ORDER BY u.datum DESC, u.id DESC "
        "LIMIT 1) AS zpusob_upozorneni "
        "FROM cis_zakaznici z "
        "JOIN topny_zdroj t ON t.id_zakaznika = z.id "
        "JOIN pristi_revize p ON p.id_topneho_zdroje = t.id "
        "LEFT JOIN cis_kategorie k ON k.id = t.kategorie "
        "WHERE (? = 0 OR z.hlidani_revizi = 1) AND (p.datum <= ? OR (? = 1 AND p.datum IS NULL)) "
        "ORDER BY p.datum IS NULL, p.datum, z.nazev, t.nazev, t.id");
}

QVariantList params(const PlanFilter& filter)
{
    return {filter.today.toString(Qt::ISODate), filter.watchedOnly ? 1 : 0, filter.until.toString(Qt::ISODate),
            filter.withoutNext ? 1 : 0};
}

int overdueCount(Connection& connection, const QDate& today)
{
    const ResultSet r = connection.query(
        QStringLiteral("SELECT count(*) FROM cis_zakaznici z JOIN topny_zdroj t ON t.id_zakaznika = z.id "
                       "JOIN pristi_revize p ON p.id_topneho_zdroje = t.id "
                       "WHERE z.hlidani_revizi = 1 AND p.datum < ?"),
        {today.toString(Qt::ISODate)});
    return r.rows.value(0).value(0).toInt();
}

} // namespace PlanQuery
