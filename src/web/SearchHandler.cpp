#include "web/SearchHandler.h"

#include "store/Connection.h"
#include "store/SqlDialect.h"
#include "web/ApiError.h"
#include "web/JsonValues.h"
#include "web/RequestContext.h"
#include "web/TextFolding.h"

#include <QJsonArray>

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

QString customerQuery(bool server)
{
    QStringList conditions;
    for (const char* column : {"nazev", "osoba", "mesto", "ulice"})
        conditions << TextFolding::unaccented(QLatin1String(column), server) +
                          QStringLiteral(" LIKE ? ESCAPE '\\'");
    for (const char* column : {"tel", "mobil"})
        conditions << QStringLiteral("replace(%1, ' ', '') LIKE ? ESCAPE '\\'").arg(QLatin1String(column));
    // In the order of names along their index, so that a common text stops after a page.
    return QStringLiteral("SELECT id, nazev, osoba, mesto, ulice, tel, mobil FROM cis_zakaznici WHERE ") +
           conditions.join(QStringLiteral(" OR ")) +
           QStringLiteral(" ORDER BY nazev, id LIMIT %1").arg(MostCustomers + 1);
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
    const QString words = SqlDialect::containsPattern(TextFolding::fold(text));
    QString digits = text;
    digits.remove(u' ');
    const QString phone = SqlDialect::containsPattern(digits);
    const ResultSet r = c.query(customerQuery(c.isServer()), {words, words, words, words, phone, phone});
    QJsonArray customers;
    for (int i = 0; i < std::min<int>(r.rows.size(), MostCustomers); ++i)
        customers.append(JsonValues::row(r, i));
    context.reply.insert(QStringLiteral("zakaznici"), customers);
    context.reply.insert(QStringLiteral("dalsi"), r.rows.size() > MostCustomers);
}

} // namespace SearchHandler
