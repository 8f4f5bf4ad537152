#include "web/ActivityHandlers.h"

#include "rules/NextRevisionDate.h"
#include "store/Connection.h"
#include "store/GuardedUpdate.h"
#include "web/ApiError.h"
#include "web/ApiRows.h"
#include "web/Input.h"
#include "web/RequestIds.h"
#include "web/RouteTable.h"
#include "web/WriteScope.h"

#include <QJsonArray>

namespace ActivityHandlers {

namespace {

const QString outOfServiceMessage = QStringLiteral(
    "Karta byla vyřazena z provozu, činnost na ni nelze zapsat. Zapište ji na kartu v provozu.");

const QString table = QStringLiteral("cinnosti");
const QStringList priceColumns{QStringLiteral("cena_doprava"), QStringLiteral("cena_prace"),
                               QStringLiteral("cena_material"), QStringLiteral("cena_ostatni")};

// What a user may write of an activity, checked.
struct ActivityValues
{
    QDate date;
    qint64 kind = 0;
    QString technicianName;
    QList<std::optional<qint64>> prices; // in the order of priceColumns
    std::optional<QString> note;
};

QString technicianFor(RequestContext& context, const QJsonObject& body)
{
    const SignedInAccount& account = context.signedIn();
    const std::optional<qint64> number = Input::integer(body, QStringLiteral("technik"), account.office());
    if (!account.office()) {
        if (number && *number != account.technician)
            throw ApiError(403, QStringLiteral("Technik zapisuje činnosti jen sám za sebe."),
                           QStringLiteral("technik"));
        if (account.technicianName.isEmpty())
            throw ApiError(403, QStringLiteral("K vašemu účtu není přiřazen žádný technik."));
        return account.technicianName;
    }
    const ResultSet r = context.db().query(
        QStringLiteral("SELECT jmeno_technika FROM cis_technici WHERE cislo = ?"), {*number});
    if (r.isEmpty())
        Input::refuseReference(QStringLiteral("technik"));
    return r.rows[0][0].toString();
}

ActivityValues readValues(RequestContext& context, const QJsonObject& body)
{
    ActivityValues v;
    v.date = Input::date(body, QStringLiteral("datum"));
    v.kind = *Input::integer(body, QStringLiteral("cinnost"), true);
    if (context.db().query(QStringLiteral("SELECT id FROM cis_cinnost WHERE id = ?"), {v.kind}).isEmpty())
        Input::refuseReference(QStringLiteral("cinnost"));
    v.technicianName = technicianFor(context, body);
    for (const QString& column : priceColumns)
        v.prices.append(Input::money(body, column));
    ColumnInfo note;
    note.name = QStringLiteral("poznamka");
    note.kind = ColumnKind::LongText;
    v.note = Input::text(body, note, false);
    return v;
}

// What an activity takes from its card.
struct CardFacts
{
    qint64 customer = 0;
    qint64 period = 0;
    bool outOfService = false;
};

// The card's facts; a refusal when there is no such card.
CardFacts cardOf(Connection& connection, qint64 card)
{
    const ResultSet r = connection.query(
        QStringLiteral("SELECT id_zakaznika, lhuta, vyrazeno_dne FROM topny_zdroj WHERE id = ?"), {card});
    if (r.isEmpty())
        Input::refuse(QStringLiteral("id_topneho_zdroje"), QStringLiteral("Karta nebyla nalezena."));
    return {r.rows[0][0].toLongLong(), r.rows[0][1].toLongLong(), !r.rows[0][2].isNull()};
}

// The card of a new activity: its id, or, for a card recorded without signal together with
// its activities, the request that wrote it (the card's request goes first).
qint64 cardOfActivity(RequestContext& context)
{
    const QString byRequest = QStringLiteral("karta_pozadavku");
    if (!context.body.contains(byRequest))
        return *Input::integer(context.body, QStringLiteral("id_topneho_zdroje"), true);
    const std::optional<qint64> card =
        RequestIds::writtenRow(context.db(), Input::requestId(context.body, byRequest), context.signedIn().id,
                               QStringLiteral("topny_zdroj"));
    if (!card)
        throw ApiError(409,
                       QStringLiteral("Karta této činnosti ještě nebyla zapsána; nejprve odešlete kartu."),
                       byRequest);
    return *card;
}

// A refusal with the row as it is now, for the phone to show beside what it sent; nothing
// is written (the write's transaction is not committed).
void refuseWithCurrent(RequestContext& context, const QString& reason,
                       const std::optional<QJsonObject>& current)
{
    context.status = 409;
    context.reply.insert(QStringLiteral("chyba"), reason);
    context.reply.insert(QStringLiteral("aktualni"), current.value_or(QJsonObject()));
}

template <class T> QVariant orNull(const std::optional<T>& v)
{
    return v ? QVariant(*v) : QVariant();
}

// The row as the client read it, in the program's form, column by column.
QList<QVariant> asRead(const QJsonObject& row, const QList<ColumnInfo>& columns)
{
    const QString field = QStringLiteral("puvodni");
    const auto wrong = [&] {
        Input::refuse(field, QStringLiteral("Původní záznam činnosti je neúplný nebo má "
                                            "nesprávný tvar."));
    };
    QList<QVariant> values;
    for (const ColumnInfo& column : columns) {
        const QJsonValue v = row.value(column.name);
        if (v.isUndefined())
            wrong();
        if (v.isNull()) {
            values.append(QVariant());
            continue;
        }
        QVariant value;
        switch (column.kind) {
        case ColumnKind::AutoKey:
        case ColumnKind::Integer:
        case ColumnKind::Year:
            if (v.isDouble() && v.toDouble() == double(v.toInteger()))
                value = qint64(v.toInteger());
            break;
        case ColumnKind::Money: {
            qint64 amount = 0;
            if (v.isString() && FieldValues::parseMoney(v.toString(), &amount))
                value = amount;
            break;
        }
        case ColumnKind::Date: {
            const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
            if (v.isString() && d.isValid())
                value = d;
            break;
        }
        case ColumnKind::Text:
        case ColumnKind::LongText:
            if (v.isString())
                value = v.toString();
            break;
        default:
            break;
        }
        if (!value.isValid())
            wrong();
        values.append(value);
    }
    return values;
}

} // namespace

void add(RequestContext& context)
{
    Connection& c = context.db();
    const QString requestId = Input::requestId(context.body);
    const qint64 card = cardOfActivity(context);
    const ActivityValues v = readValues(context, context.body);

    WriteScope scope(context);
    const qint64 account = context.signedIn().id;
    context.status = 201;
    if (const std::optional<qint64> earlier = RequestIds::earlierRow(c, requestId, account, table)) {
        context.reply.insert(QStringLiteral("cinnost"),
                             ApiRows::activity(c, *earlier).value_or(QJsonObject()));
        return;
    }
    // Read within the write, so that a card deleted or taken out of service just before is seen.
    // A card out of service (perhaps since the technician read it, without signal) takes no new
    // activity: it belongs on the card in service.
    const CardFacts facts = cardOf(c, card);
    if (facts.outOfService)
        return refuseWithCurrent(context, outOfServiceMessage, ApiRows::card(c, card));
    const qint64 id = c.insert(
        QStringLiteral(
            "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi, technik, "
            "cena_doprava, cena_prace, cena_material, cena_ostatni, poznamka) VALUES (?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?)"),
        {facts.customer, card, v.kind, FieldValues::toStorage(ColumnKind::Date, v.date),
         FieldValues::toStorage(ColumnKind::Date, nextRevisionDate(v.date, int(facts.period))),
         v.technicianName, FieldValues::toStorage(ColumnKind::Money, orNull(v.prices[0])),
         FieldValues::toStorage(ColumnKind::Money, orNull(v.prices[1])),
         FieldValues::toStorage(ColumnKind::Money, orNull(v.prices[2])),
         FieldValues::toStorage(ColumnKind::Money, orNull(v.prices[3])), orNull(v.note)});
    RequestIds::remember(c, requestId, account, table, id, context.now);
    const QJsonObject written = ApiRows::activity(c, id).value_or(QJsonObject());
    context.audit(QStringLiteral("zapis"), 0, table, id, QJsonObject(), written);
    scope.commit();
    context.reply.insert(QStringLiteral("cinnost"), written);
}

void correct(RequestContext& context)
{
    Connection& c = context.db();
    const QString requestId = Input::requestId(context.body);
    const QJsonObject original = Input::object(context.body, QStringLiteral("puvodni"));
    const QJsonObject changed = Input::object(context.body, QStringLiteral("cinnost"));
    const ResultSet stored =
        c.query(QStringLiteral("SELECT technik, datum, id_topneho_zdroje FROM cinnosti WHERE id = ?"),
                {context.pathId});
    if (stored.isEmpty())
        throw ApiError(404, QStringLiteral("Činnost nebyla nalezena."));
    const QString storedTechnician = stored.rows[0][0].toString();
    const QDate storedDate = FieldValues::fromStorage(ColumnKind::Date, stored.rows[0][1]).toDate();
    if (!context.ownerAllows(context.route->owner, storedTechnician, storedDate))
        throw ApiError(403, QStringLiteral("Technik smí opravit jen své dnešní činnosti."));
    const ActivityValues v = readValues(context, changed);
    if (!context.ownerAllows(context.route->owner, v.technicianName, v.date))
        throw ApiError(403, QStringLiteral("Technik smí opravit jen své dnešní činnosti."),
                       QStringLiteral("datum"));
    const qint64 period = cardOf(c, stored.rows[0][2].toLongLong()).period;
    const QList<ColumnInfo> columns = c.tableColumns(table);
    const QList<QVariant> read = asRead(original, columns);

    const auto index = [&](const QString& name) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns[i].name == name)
                return i;
        }
        return -1;
    };
    QList<std::pair<int, QVariant>> changes{
        {index(QStringLiteral("cinnost")), v.kind},
        {index(QStringLiteral("datum")), v.date},
        {index(QStringLiteral("datum_pristi")), nextRevisionDate(v.date, int(period))},
        {index(QStringLiteral("technik")), v.technicianName},
        {index(QStringLiteral("poznamka")), orNull(v.note)},
    };
    for (int i = 0; i < priceColumns.size(); ++i)
        changes.append({index(priceColumns[i]), orNull(v.prices[i])});

    WriteScope scope(context);
    const qint64 account = context.signedIn().id;
    if (RequestIds::earlierRow(c, requestId, account, table)) {
        context.reply.insert(QStringLiteral("cinnost"),
                             ApiRows::activity(c, context.pathId).value_or(QJsonObject()));
        return;
    }
    const QJsonObject before = ApiRows::activity(c, context.pathId).value_or(QJsonObject());
    const GuardedUpdateResult result =
        updateIfUnchanged(c, GuardedRow{table, QStringLiteral("id"), columns}, context.pathId, read, changes);
    switch (result.outcome) {
    case GuardedUpdateResult::Outcome::Written:
        break;
    case GuardedUpdateResult::Outcome::ChangedMeanwhile:
        // As it is now: the row stays locked until this request's transaction ends.
        return refuseWithCurrent(context, changedMeanwhileMessage(), ApiRows::activity(c, context.pathId));
    case GuardedUpdateResult::Outcome::DeletedMeanwhile:
        throw ApiError(409, deletedMeanwhileMessage());
    }
    RequestIds::remember(c, requestId, account, table, context.pathId, context.now);
    const QJsonObject after = ApiRows::activity(c, context.pathId).value_or(QJsonObject());
    context.audit(QStringLiteral("oprava"), 0, table, context.pathId, before, after);
    scope.commit();
    context.reply.insert(QStringLiteral("cinnost"), after);
}

} // namespace ActivityHandlers
