#include "web/SearchHandler.h"

#include "store/Connection.h"
#include "store/SqlDialect.h"
#include "web/ApiError.h"
#include "web/JsonValues.h"
#include "web/RequestContext.h"
#include "web/TextFolding.h"

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

// The names, persons, towns and streets without regard to accents and letter case: on the
// file one comparison a row (their texts joined by a character nobody types, so that no
// match runs across two of them), on the server a regular expression of the text's letters
// with their accented forms; the phones only for a text with a digit. In the order of names
// along their index, so that a common text stops after a page.
QString customerQuery(bool server, bool phones)
{
    QString condition;
    if (server) {
        condition = QStringLiteral("nazev ~* ? OR osoba ~* ? OR mesto ~* ? OR ulice ~* ?");
    } else {
        condition =
            TextFolding::unaccented(QStringLiteral(
                "coalesce(nazev, '') || char(31) || coalesce(osoba, '') || char(31) || coalesce(mesto, '') "
                "|| char(31) || coalesce(ulice, '')")) +
            QStringLiteral(" LIKE ? ESCAPE '\\'");
    }
    if (phones)
        condition +=
            QStringLiteral(" OR replace(tel, ' ', '') LIKE ? ESCAPE '\\' OR replace(mobil, ' ', '') LIKE ? "
                           "ESCAPE '\\'");
    return QStringLiteral("SELECT id, nazev, osoba, mesto, ulice, tel, mobil FROM cis_zakaznici WHERE ") +
           condition + QStringLiteral(" ORDER BY nazev, id LIMIT %1").arg(MostCustomers + 1);
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
    QVariantList values;
    if (c.isServer()) {
        const QString pattern = TextFolding::accentFreePattern(text);
        values << pattern << pattern << pattern << pattern;
    } else {
        values << SqlDialect::containsPattern(TextFolding::fold(text));
    }
    const bool phones = std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isDigit(); });
    if (phones) {
        QString digits = text;
        digits.remove(u' ');
        values << SqlDialect::containsPattern(digits) << SqlDialect::containsPattern(digits);
    }
    const ResultSet r = c.query(customerQuery(c.isServer(), phones), values);
    QJsonArray customers;
    for (int i = 0; i < std::min<int>(r.rows.size(), MostCustomers); ++i)
        customers.append(JsonValues::row(r, i));
    context.reply.insert(QStringLiteral("zakaznici"), customers);
    context.reply.insert(QStringLiteral("dalsi"), r.rows.size() > MostCustomers);
}

} // namespace SearchHandler
