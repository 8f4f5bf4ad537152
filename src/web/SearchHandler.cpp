#include "web/SearchHandler.h"

#include "store/Connection.h"
#include "web/ApiError.h"
#include "web/JsonValues.h"
#include "web/RequestContext.h"
#include "web/WebServices.h"

#include <QHash>
#include <QJsonArray>

#include <algorithm>

namespace SearchHandler {

namespace {

// The one card with that serial number or barcode (letter case ignored, along their
// indexes), 0 when none or more.
qint64 cardOf(Connection& connection, const QString& text)
{
    const ResultSet r = connection.query(
        QStringLiteral("SELECT id FROM topny_zdroj WHERE vyrobni_cislo = ? COLLATE caseless UNION "
                       "SELECT id FROM topny_zdroj WHERE carovy_kod = ? COLLATE caseless"),
        {text, text});
    return r.rows.size() == 1 ? r.rows[0][0].toLongLong() : 0;
}

// The customers of these ids with what the search shows of them, in the order given.
QJsonArray customersOf(Connection& connection, const QList<qint64>& ids)
{
    if (ids.isEmpty())
        return {};
    QVariantList values;
    for (const qint64 id : ids)
        values << id;
    const QString marks = QStringLiteral("?, ").repeated(ids.size()).chopped(2);
    const ResultSet r = connection.query(
        QStringLiteral(
            "SELECT id, nazev, osoba, mesto, ulice, tel, mobil FROM cis_zakaznici WHERE id IN (%1)")
            .arg(marks),
        values);
    QHash<qint64, QJsonObject> byId;
    for (int i = 0; i < r.rows.size(); ++i)
        byId.insert(r.rows[i][0].toLongLong(), JsonValues::row(r, i));
    QJsonArray customers;
    for (const qint64 id : ids) {
        if (const auto found = byId.constFind(id); found != byId.constEnd()) // not deleted meanwhile
            customers.append(*found);
    }
    return customers;
}

} // namespace

void get(RequestContext& context)
{
    const QString text = context.queryValue("text").trimmed();
    if (text.size() > 100)
        throw ApiError(400, QStringLiteral("Hledaný text smí mít nejvýše 100 znaků."),
                       QStringLiteral("text"));
    Connection& c = context.db();
    if (text.isEmpty()) {
        context.reply.insert(QStringLiteral("zakaznici"), QJsonArray());
        context.reply.insert(QStringLiteral("dalsi"), false);
        return;
    }
    if (const qint64 card = cardOf(c, text)) {
        context.reply.insert(QStringLiteral("karta"), card);
        return;
    }
    // A text with a digit also looks through the phones, without their spaces.
    QString digits;
    if (std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isDigit(); }))
        digits = QString(text).remove(u' ');
    const QList<qint64> ids =
        context.services.customerSearch.find(c, context.now, text, digits, MostCustomers + 1);
    const QJsonArray customers = customersOf(c, ids.mid(0, MostCustomers));
    context.reply.insert(QStringLiteral("zakaznici"), customers);
    context.reply.insert(QStringLiteral("dalsi"), ids.size() > MostCustomers);
}

} // namespace SearchHandler
