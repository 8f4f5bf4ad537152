#include "web/CardHandlers.h"

#include "store/Connection.h"
#include "web/ApiError.h"
#include "web/ApiRows.h"
#include "web/Input.h"
#include "web/JsonValues.h"
#include "web/RequestIds.h"
#include "web/RouteTable.h"
#include "web/WriteScope.h"

#include <QJsonArray>

namespace CardHandlers {

namespace {

const QString table = QStringLiteral("topny_zdroj");

// The card's activities newest first, all of them or the last few.
QJsonArray activities(RequestContext& context, qint64 card, int last)
{
    const QString all = QStringLiteral(
        "SELECT c.id, c.id_zakaznika, c.id_topneho_zdroje, c.datum, c.cinnost, d.nazev_cinnosti, c.technik, "
        "c.cena_doprava, c.cena_prace, c.cena_material, c.cena_ostatni, c.poznamka, c.datum_pristi FROM "
        "cinnosti c "
        "LEFT JOIN cis_cinnost d ON d.id = c.cinnost WHERE c.id_topneho_zdroje = ? ORDER BY c.datum DESC, "
        "c.id DESC");
    const ResultSet r = last > 0 ? context.db().query(all + QStringLiteral(" LIMIT ?"), {card, last})
                                 : context.db().query(all, {card});
    const int technician = r.columnIndex(QStringLiteral("technik"));
    const int day = r.columnIndex(QStringLiteral("datum"));
    QJsonArray list;
    for (int i = 0; i < r.rows.size(); ++i) {
        QJsonObject row = JsonValues::row(r, i);
        row.insert(QStringLiteral("lze_opravit"),
                   context.ownerAllows(OwnerRule::OwnActivityOfToday, r.rows[i][technician].toString(),
                                       FieldValues::fromStorage(ColumnKind::Date, r.rows[i][day]).toDate()));
        list.append(row);
    }
    return list;
}

// The period of the category, or a refusal when there is no such category.
qint64 periodOf(Connection& connection, qint64 category)
{
    const ResultSet r =
        connection.query(QStringLiteral("SELECT lhuta FROM cis_kategorie WHERE id = ?"), {category});
    if (r.isEmpty())
        Input::refuseReference(QStringLiteral("kategorie"));
    return r.rows[0][0].toLongLong();
}

QVariant orNull(const std::optional<QString>& v)
{
    return v ? QVariant(*v) : QVariant(QMetaType::fromType<QString>());
}

QVariant orNull(const std::optional<qint64>& v)
{
    return v ? QVariant(*v) : QVariant(QMetaType::fromType<qint64>());
}

} // namespace

std::optional<QJsonObject> document(RequestContext& context, qint64 id, int lastActivities)
{
    Connection& c = context.db();
    const std::optional<QJsonObject> card = ApiRows::card(c, id);
    if (!card)
        return std::nullopt;
    const ResultSet customer =
        c.query(QStringLiteral("SELECT id, nazev, mesto, ulice, tel, mobil FROM cis_zakaznici WHERE id = ?"),
                {card->value(QStringLiteral("id_zakaznika")).toInteger()});
    const ResultSet next =
        c.query(QStringLiteral("SELECT datum FROM pristi_revize_karet WHERE id_topneho_zdroje = ?"), {id});
    const QDate due =
        next.isEmpty() ? QDate() : FieldValues::fromStorage(ColumnKind::Date, next.rows[0][0]).toDate();
    QJsonObject document;
    document.insert(QStringLiteral("karta"), *card);
    document.insert(QStringLiteral("zakaznik"),
                    customer.isEmpty() ? QJsonValue() : JsonValues::row(customer, 0));
    document.insert(QStringLiteral("pristi_revize"), JsonValues::fromProgram(ColumnKind::Date, due));
    document.insert(QStringLiteral("po_terminu"), due.isValid() && due < context.today);
    // One more than asked for tells whether there are more.
    QJsonArray list = activities(context, id, lastActivities > 0 ? lastActivities + 1 : 0);
    if (lastActivities > 0 && list.size() > lastActivities) {
        list.removeLast();
        document.insert(QStringLiteral("cinnosti_dalsi"), true);
    }
    document.insert(QStringLiteral("cinnosti"), list);
    return document;
}

void get(RequestContext& context)
{
    const std::optional<QJsonObject> card = document(context, context.pathId, 0);
    if (!card)
        throw ApiError(404, QStringLiteral("Karta nebyla nalezena."));
    context.reply = *card;
}

void add(RequestContext& context)
{
    Connection& c = context.db();
    const QJsonObject& body = context.body;
    const QString requestId = Input::requestId(body);
    const qint64 customer = *Input::integer(body, QStringLiteral("id_zakaznika"), true);
    if (c.query(QStringLiteral("SELECT id FROM cis_zakaznici WHERE id = ?"), {customer}).isEmpty())
        Input::refuse(QStringLiteral("id_zakaznika"), QStringLiteral("Zákazník nebyl nalezen."));
    const QList<ColumnInfo> columns = c.tableColumns(table);
    const auto column = [&](const char* name) {
        for (const ColumnInfo& info : columns) {
            if (info.name == QLatin1String(name))
                return info;
        }
        ColumnInfo unknown;
        unknown.name = QLatin1String(name);
        return unknown;
    };
    const std::optional<QString> name = Input::text(body, column("nazev"), true);
    const std::optional<QString> type = Input::text(body, column("typ"), true);
    const std::optional<QString> maker = Input::text(body, column("vyrobce"), false);
    const std::optional<QString> serial = Input::text(body, column("vyrobni_cislo"), false);
    const std::optional<QString> barcode = Input::text(body, column("carovy_kod"), false);
    const std::optional<qint64> year = Input::year(body, QStringLiteral("rok_vyroby"));
    const qint64 category = *Input::integer(body, QStringLiteral("kategorie"), true);
    const qint64 period = periodOf(c, category);

    WriteScope scope(context);
    const qint64 account = context.signedIn().id;
    if (const std::optional<qint64> earlier = RequestIds::earlierRow(c, requestId, account, table)) {
        context.status = 201;
        context.reply.insert(QStringLiteral("karta"), ApiRows::card(c, *earlier).value_or(QJsonObject()));
        return;
    }
    const qint64 id =
        c.insert(QStringLiteral(
                     "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, vyrobce, vyrobni_cislo, carovy_kod, "
                     "rok_vyroby, kategorie, lhuta) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {customer, orNull(name), orNull(type), orNull(maker), orNull(serial), orNull(barcode),
                  orNull(year), category, period});
    RequestIds::remember(c, requestId, account, table, id, context.now);
    const QJsonObject written = ApiRows::card(c, id).value_or(QJsonObject());
    context.audit(QStringLiteral("zapis"), 0, table, id, QJsonObject(), written);
    scope.commit();
    context.status = 201;
    context.reply.insert(QStringLiteral("karta"), written);
}

} // namespace CardHandlers
