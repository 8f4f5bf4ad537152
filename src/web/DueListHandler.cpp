#include "web/DueListHandler.h"

#include "helpers/IniFile.h"
#include "helpers/PlanSettings.h"
#include "store/Connection.h"
#include "store/CustomerOrder.h"
#include "store/CzechText.h"
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

// The same among a few texts, compared here.
QHash<QString, int> placesAmong(QStringList texts)
{
    texts.removeDuplicates();
    std::sort(texts.begin(), texts.end(),
              [](const QString& a, const QString& b) { return CzechText::compare(a, b) < 0; });
    QHash<QString, int> place;
    for (int i = 0; i < texts.size(); ++i)
        place.insert(texts[i], i + 1);
    return place;
}

// Below this many rows the texts are compared here rather than read in order from the
// indexes of all customers.
constexpr int FewRows = 2000;

} // namespace

void get(RequestContext& context)
{
    const int daysAhead = PlanSettings::read(IniFile(context.services.options.settingsFile)).DnyPredem;
    const QDate until = context.today.addDays(daysAhead);
    const QString onlyTown = context.queryValue("mesto");
    Connection& c = context.db();
    // The whole list along the index of the kept dates, one town's from its customers along
    // the index of towns, their cards along the index of customers and each kept row by its
    // key (SQLite would otherwise take the kept rows' date range for every customer); the
    // rows are sorted here (the Czech comparison in the database would run for every pair).
    const QString columns =
        QStringLiteral("SELECT t.id AS id_topneho_zdroje, z.id AS id_zakaznika, z.nazev AS zakaznik, "
                       "z.mesto, z.ulice, z.tel, z.mobil, t.nazev AS zdroj, t.typ, t.vyrobni_cislo, p.datum "
                       "AS pristi_revize");
    const QString dueOnly = QStringLiteral("p.hlidani_revizi = TRUE AND p.datum <= ?");
    const QString untilText = until.toString(Qt::ISODate);
    const QString sql =
        onlyTown.isEmpty()
            ? columns +
                  QStringLiteral(" FROM pristi_revize_karet p CROSS JOIN topny_zdroj t CROSS JOIN "
                                 "cis_zakaznici z WHERE ") +
                  dueOnly + QStringLiteral(" AND t.id = p.id_topneho_zdroje AND z.id = t.id_zakaznika")
            : columns +
                  QStringLiteral(
                      " FROM cis_zakaznici z CROSS JOIN topny_zdroj t CROSS JOIN pristi_revize_karet p "
                      "WHERE z.mesto = ? AND t.id_zakaznika = z.id AND p.id_topneho_zdroje = t.id AND ") +
                  dueOnly;
    const QVariantList params =
        onlyTown.isEmpty() ? QVariantList{untilText} : QVariantList{onlyTown, untilText};
    const ResultSet r = c.query(sql, params);
    const int town = r.columnIndex(QStringLiteral("mesto"));
    const int street = r.columnIndex(QStringLiteral("ulice"));
    const int customer = r.columnIndex(QStringLiteral("id_zakaznika"));
    const int next = r.columnIndex(QStringLiteral("pristi_revize"));
    const int card = r.columnIndex(QStringLiteral("id_topneho_zdroje"));

    const bool few = r.rows.size() < FewRows;
    const auto column = [&](int i) {
        QStringList texts;
        for (const QList<QVariant>& x : r.rows)
            texts.append(x[i].toString());
        return texts;
    };
    const QHash<QString, int> streets =
        few ? placesAmong(column(street)) : places(c, QStringLiteral("ulice"));
    QHash<qint64, qint64> customers;
    if (few) {
        // By name, then id, as along the index of names.
        const int name = r.columnIndex(QStringLiteral("zakaznik"));
        const QHash<QString, int> names = placesAmong(column(name));
        for (const QList<QVariant>& x : r.rows)
            customers.insert(x[customer].toLongLong(),
                             qint64(names.value(x[name].toString())) << 32 | x[customer].toLongLong());
    } else {
        const QHash<int, int> order = customerOrder(c);
        for (auto it = order.cbegin(); it != order.cend(); ++it)
            customers.insert(it.key(), it.value());
    }
    struct Key
    {
        int town, street;
        qint64 customer, card;
        int row;
        auto operator<=>(const Key&) const = default;
    };
    QStringList dueTowns; // every town of the whole list
    if (onlyTown.isEmpty()) {
        dueTowns = column(town);
    } else {
        // Each town once along the index of towns, kept when one of its customers has a card due.
        for (const QList<QVariant>& row :
             c.query(
                  QStringLiteral("SELECT m.mesto FROM (SELECT DISTINCT mesto FROM cis_zakaznici WHERE mesto "
                                 "IS NOT NULL) m WHERE EXISTS (SELECT 1 FROM cis_zakaznici z CROSS JOIN "
                                 "topny_zdroj t CROSS JOIN pristi_revize_karet p WHERE z.mesto = m.mesto AND "
                                 "t.id_zakaznika = z.id AND p.id_topneho_zdroje = t.id AND ") +
                      dueOnly + u')',
                  {untilText})
                 .rows)
            dueTowns.append(row[0].toString());
    }
    const QHash<QString, int> towns =
        dueTowns.size() < FewRows ? placesAmong(dueTowns) : places(c, QStringLiteral("mesto"));
    QList<Key> keys;
    keys.reserve(r.rows.size());
    for (int i = 0; i < r.rows.size(); ++i) {
        const QList<QVariant>& x = r.rows[i];
        keys.append({towns.value(x[town].toString()), streets.value(x[street].toString()),
                     customers.value(x[customer].toLongLong()), x[card].toLongLong(), i});
    }
    std::sort(keys.begin(), keys.end());

    // Every town of the whole list, in order.
    dueTowns.removeDuplicates();
    std::sort(dueTowns.begin(), dueTowns.end(),
              [&](const QString& a, const QString& b) { return towns.value(a) < towns.value(b); });

    // Written straight as text: the whole list may have thousands of rows.
    QList<QByteArray> names;
    for (const ColumnInfo& column : r.columns)
        names.append(column.name.toUtf8());
    JsonWriter rows;
    rows.beginArray();
    for (const Key& key : keys) {
        const QList<QVariant>& x = r.rows[key.row];
        rows.beginObject();
        for (int i = 0; i < r.columns.size(); ++i) {
            rows.key(names[i].constData());
            rows.stored(r.columns[i].kind, x[i]);
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
    out.value(int(keys.size()));
    out.key("mesta");
    out.beginArray();
    for (const QString& t : dueTowns)
        out.string(t);
    out.endArray();
    QByteArray text = out.take();
    text += ",\"radky\":" + rows.take() + '}';
    context.rawReply = std::move(text);
}

} // namespace DueListHandler
