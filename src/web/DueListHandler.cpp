#include "web/DueListHandler.h"

#include "helpers/IniFile.h"
#include "helpers/PlanSettings.h"
#include "store/Connection.h"
#include "store/CzechText.h"
#include "web/JsonValues.h"
#include "web/RequestContext.h"
#include "web/WebServices.h"

#include <QJsonArray>

#include <algorithm>
#include <numeric>

namespace DueListHandler {

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
    const int customer = r.columnIndex(QStringLiteral("zakaznik"));
    const int next = r.columnIndex(QStringLiteral("pristi_revize"));
    const int card = r.columnIndex(QStringLiteral("id_topneho_zdroje"));

    QList<int> order(r.rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const QList<QVariant>& x = r.rows[a];
        const QList<QVariant>& y = r.rows[b];
        for (const int column : {town, street, customer}) {
            const int c = CzechText::compare(x[column].toString(), y[column].toString());
            if (c != 0)
                return c < 0;
        }
        return x[card].toLongLong() < y[card].toLongLong();
    });

    const QString onlyTown = context.queryValue("mesto");
    QStringList towns;
    QJsonArray rows;
    QString lastTown;
    for (const int i : order) {
        const QString rowTown = r.rows[i][town].toString();
        if (towns.isEmpty() || rowTown != lastTown)
            towns.append(rowTown);
        lastTown = rowTown;
        if (!onlyTown.isEmpty() && rowTown != onlyTown)
            continue;
        QJsonObject row = JsonValues::row(r, i);
        const QDate due = FieldValues::fromStorage(ColumnKind::Date, r.rows[i][next]).toDate();
        row.insert(QStringLiteral("po_terminu"), due < context.today);
        rows.append(row);
    }
    towns.removeDuplicates();
    context.reply.insert(QStringLiteral("dnes"), context.today.toString(Qt::ISODate));
    context.reply.insert(QStringLiteral("do"), until.toString(Qt::ISODate));
    context.reply.insert(QStringLiteral("pocet"), rows.size());
    context.reply.insert(QStringLiteral("mesta"), QJsonArray::fromStringList(towns));
    context.reply.insert(QStringLiteral("radky"), rows);
}

} // namespace DueListHandler
