#include "web/DueListHandler.h"

#include "helpers/IniFile.h"
#include "helpers/PlanSettings.h"
#include "store/Connection.h"
#include "web/JsonValues.h"
#include "web/JsonWriter.h"
#include "web/RequestContext.h"
#include "web/WebServices.h"

#include <algorithm>

namespace DueListHandler {

namespace {

// Each text of the customers' column by its place in the Czech order, read along the
// column's index: the rows are sorted by these numbers instead of comparing their texts
// (thousands of rows, a Czech comparison for every pair). No text comes first, on both
// engines.
QHash<QString, int> places(Connection& connection, const QString& column)
{
    const ResultSet r = connection.query(
        QStringLiteral("SELECT DISTINCT %1 FROM cis_zakaznici WHERE %1 IS NOT NULL ORDER BY %1").arg(column));
    QHash<QString, int> place;
    place.reserve(r.rows.size());
    for (int i = 0; i < r.rows.size(); ++i)
        place.insert(r.rows[i][0].toString(), i + 1);
    return place;
}

QHash<qint64, int> customerPlaces(Connection& connection)
{
    const ResultSet r = connection.query(QStringLiteral("SELECT id FROM cis_zakaznici ORDER BY nazev, id"));
    QHash<qint64, int> place;
    place.reserve(r.rows.size());
    for (int i = 0; i < r.rows.size(); ++i)
        place.insert(r.rows[i][0].toLongLong(), i);
    return place;
}

} // namespace

void get(RequestContext& context)
{
    const int daysAhead = PlanSettings::read(IniFile(context.services.options.settingsFile)).DnyPredem;
    const QDate until = context.today.addDays(daysAhead);
    // Along the index of the kept dates; the cards, customers and the order are looked up by
    // key and sorted here (the Czech comparison in the database would run for every pair).
    const ResultSet r = context.db().query(
        QStringLiteral(
            "SELECT t.id AS id_topneho_zdroje, z.id AS id_zakaznika, z.nazev AS zakaznik, z.mesto, "
            "z.ulice, z.tel, z.mobil, t.nazev AS zdroj, t.typ, t.vyrobni_cislo, p.datum AS "
            "pristi_revize FROM pristi_revize_karet p CROSS JOIN topny_zdroj t CROSS JOIN cis_zakaznici z "
            "WHERE p.hlidani_revizi = TRUE AND p.datum <= ? AND t.id = p.id_topneho_zdroje AND "
            "z.id = t.id_zakaznika"),
        {until.toString(Qt::ISODate)});
    const int town = r.columnIndex(QStringLiteral("mesto"));
    const int street = r.columnIndex(QStringLiteral("ulice"));
    const int customer = r.columnIndex(QStringLiteral("id_zakaznika"));
    const int next = r.columnIndex(QStringLiteral("pristi_revize"));
    const int card = r.columnIndex(QStringLiteral("id_topneho_zdroje"));

    Connection& c = context.db();
    const QHash<QString, int> towns = places(c, QStringLiteral("mesto"));
    const QHash<QString, int> streets = places(c, QStringLiteral("ulice"));
    const QHash<qint64, int> customers = customerPlaces(c);
    struct Key
    {
        int town, street, customer;
        qint64 card;
        int row;
        auto operator<=>(const Key&) const = default;
    };
    QList<Key> keys;
    keys.reserve(r.rows.size());
    for (int i = 0; i < r.rows.size(); ++i) {
        const QList<QVariant>& x = r.rows[i];
        keys.append({towns.value(x[town].toString()), streets.value(x[street].toString()),
                     customers.value(x[customer].toLongLong()), x[card].toLongLong(), i});
    }
    std::sort(keys.begin(), keys.end());
    QList<QByteArray> names;
    for (const ColumnInfo& column : r.columns)
        names.append(column.name.toUtf8());

    // Written straight as text: the whole list may have thousands of rows.
    const QString onlyTown = context.queryValue("mesto");
    QStringList townList;
    int lastTown = -1;
    JsonWriter rows;
    rows.beginArray();
    int count = 0;
    for (const Key& key : keys) {
        const QList<QVariant>& x = r.rows[key.row];
        const QString rowTown = x[town].toString();
        if (key.town != lastTown)
            townList.append(rowTown);
        lastTown = key.town;
        if (!onlyTown.isEmpty() && rowTown != onlyTown)
            continue;
        ++count;
        rows.beginObject();
        for (int c = 0; c < r.columns.size(); ++c) {
            rows.key(names[c].constData());
            rows.stored(r.columns[c].kind, x[c]);
        }
        rows.key("po_terminu");
        rows.value(FieldValues::fromStorage(ColumnKind::Date, x[next]).toDate() < context.today);
        rows.endObject();
    }
    rows.endArray();

    JsonWriter out;
    out.beginObject();
    out.key("dnes");
    out.string(context.today.toString(Qt::ISODate));
    out.key("do");
    out.string(until.toString(Qt::ISODate));
    out.key("pocet");
    out.value(count);
    out.key("mesta");
    out.beginArray();
    for (const QString& t : townList)
        out.string(t);
    out.endArray();
    QByteArray text = out.take();
    text += ",\"radky\":" + rows.take() + '}';
    context.rawReply = std::move(text);
}

} // namespace DueListHandler
