#include "web/DueListHandler.h"

#include "helpers/IniFile.h"
#include "helpers/PlanSettings.h"
#include "store/Connection.h"
#include "store/CzechText.h"
#include "web/ApiError.h"
#include "web/JsonValues.h"
#include "web/JsonWriter.h"
#include "web/RequestContext.h"
#include "web/WebServices.h"

#include <algorithm>

namespace DueListHandler {

namespace {

// Rows of one page: a phone builds them in a moment, and the first page of the whole list
// is read along the customers' address index without touching the rest.
constexpr int PageRows = 200;

int pageStart(const RequestContext& context)
{
    const QString text = context.queryValue("od");
    if (text.isEmpty())
        return 0;
    const bool digits =
        text.size() <= 8 && std::all_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isDigit(); });
    if (!digits)
        throw ApiError(400, QStringLiteral("Začátek stránky musí být celé číslo od 0."));
    return text.toInt();
}

// The customers' order of addresses, as the index ix_zakaznici_adresa keeps it: a missing
// town or street sorts as an empty one, first. Within one town the town is left out, so that
// SQLite sees the index's order and sorts nothing.
const QString townOrder = QStringLiteral("coalesce(z.mesto, '') COLLATE czech, ");
const QString inTownOrder =
    QStringLiteral("coalesce(z.ulice, '') COLLATE czech, coalesce(z.nazev, '') COLLATE czech, z.id");
const QString townMatches = QStringLiteral("coalesce(z.mesto, '') COLLATE czech = ?");
const QString dueOnly = QStringLiteral("p.hlidani_revizi = TRUE AND p.datum <= ?");
// The customers, their cards along the index of customers and each card's kept row by its
// key (the kept dates' index would be read whole for each customer).
const QString customersCards =
    QStringLiteral("cis_zakaznici z CROSS JOIN topny_zdroj t CROSS JOIN pristi_revize_karet p WHERE ");
const QString cardsDue =
    QStringLiteral("t.id_zakaznika = z.id AND p.id_topneho_zdroje = t.id AND ") + dueOnly;

// Every town with a card due: the towns one after another along their index (a step each,
// not a row for every customer), each kept when one of its customers has a card due (the
// offset keeps the server from joining all due cards instead of looking for one a town).
QStringList dueTowns(Connection& c, const QString& until)
{
    QStringList towns;
    for (const QList<QVariant>& row :
         c.query(QStringLiteral("WITH RECURSIVE m(mesto) AS (SELECT min(mesto) FROM cis_zakaznici UNION ALL "
                                "SELECT (SELECT min(mesto) FROM cis_zakaznici WHERE mesto > m.mesto) FROM m "
                                "WHERE m.mesto IS NOT NULL) SELECT mesto FROM m WHERE mesto IS NOT NULL AND "
                                "EXISTS (SELECT 1 FROM ") +
                     customersCards + QStringLiteral("z.mesto = m.mesto AND ") + cardsDue +
                     QStringLiteral(" LIMIT 1 OFFSET 0)"),
                 {until})
             .rows)
        towns.append(row[0].toString());
    std::sort(towns.begin(), towns.end(),
              [](const QString& a, const QString& b) { return CzechText::compare(a, b) < 0; });
    return towns;
}

// How many cards the list holds and how many of them are overdue: the whole list's counted
// along the kept dates' index alone, one town's as its page reads them.
std::pair<qint64, qint64> counts(Connection& c, const QString& town, const QString& until,
                                 const QString& today)
{
    const QString count = QStringLiteral("SELECT count(*), count(*) FILTER (WHERE p.datum < ?) FROM ");
    const ResultSet r =
        town.isEmpty()
            ? c.query(count + QStringLiteral("pristi_revize_karet p WHERE ") + dueOnly, {today, until})
            : c.query(count + customersCards + townMatches + QStringLiteral(" AND ") + cardsDue,
                      {today, town, until});
    return {r.rows[0][0].toLongLong(), r.rows[0][1].toLongLong()};
}

} // namespace

void get(RequestContext& context)
{
    const int start = pageStart(context);
    const int daysAhead = PlanSettings::read(IniFile(context.services.options.settingsFile)).DnyPredem;
    const QDate until = context.today.addDays(daysAhead);
    const QString untilText = until.toString(Qt::ISODate);
    const QString onlyTown = context.queryValue("mesto");
    Connection& c = context.db();

    // The customers along their address index (one town's part of it on request), their cards
    // along the index of customers and each card's kept row by its key; one row more than
    // the page tells whether another follows.
    QString sql =
        QStringLiteral("SELECT t.id AS id_topneho_zdroje, z.id AS id_zakaznika, z.nazev AS zakaznik, "
                       "z.mesto, z.ulice, z.tel, z.mobil, t.nazev AS zdroj, t.typ, t.vyrobni_cislo, p.datum "
                       "AS pristi_revize FROM ") +
        customersCards;
    QVariantList params;
    if (!onlyTown.isEmpty()) {
        sql += townMatches + QStringLiteral(" AND ");
        params << onlyTown;
    }
    sql += cardsDue + QStringLiteral(" ORDER BY ") + (onlyTown.isEmpty() ? townOrder : QString()) +
           inTownOrder + QStringLiteral(", t.id LIMIT ? OFFSET ?");
    params << untilText << PageRows + 1 << start;
    const ResultSet r = c.query(sql, params);
    const auto [count, overdue] = counts(c, onlyTown, untilText, context.today.toString(Qt::ISODate));
    // The towns to choose from may be a few seconds old: a town offered with nothing due any
    // more shows an empty list.
    const std::shared_ptr<const QStringList> towns =
        context.services.dueListTowns.get(context.now, untilText, [&] { return dueTowns(c, untilText); });

    const int next = r.columnIndex(QStringLiteral("pristi_revize"));
    const int shown = std::min<int>(r.rows.size(), PageRows);
    // Written straight as text, in the order read.
    QList<QByteArray> names;
    for (const ColumnInfo& column : r.columns)
        names.append(column.name.toUtf8());
    JsonWriter out;
    out.beginObject();
    out.key("dnes");
    out.string(context.today.toString(Qt::ISODate));
    out.key("do");
    out.string(untilText);
    out.key("pocet");
    out.value(count);
    out.key("po_terminu");
    out.value(overdue);
    out.key("mesta");
    out.beginArray();
    for (const QString& town : *towns)
        out.string(town);
    out.endArray();
    out.key("od");
    out.value(start);
    out.key("dalsi");
    out.value(r.rows.size() > PageRows ? QJsonValue(start + PageRows) : QJsonValue());
    out.key("radky");
    out.beginArray();
    for (int row = 0; row < shown; ++row) {
        const QList<QVariant>& x = r.rows[row];
        out.beginObject();
        for (int i = 0; i < r.columns.size(); ++i) {
            out.key(names[i].constData());
            out.stored(r.columns[i].kind, x[i]);
        }
        out.key("po_terminu");
        out.value(FieldValues::fromStorage(ColumnKind::Date, x[next]).toDate() < context.today);
        out.endObject();
    }
    out.endArray();
    out.endObject();
    context.rawReply = out.take();
}

} // namespace DueListHandler
