#include "web/Input.h"

#include "web/ApiError.h"

#include <QHash>
#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>

namespace Input {

namespace {

QJsonValue present(const QJsonObject& body, const QString& key, bool required)
{
    const QJsonValue v = body.value(key);
    if ((v.isUndefined() || v.isNull()) && required)
        refuse(key, QStringLiteral("Vyplňte pole „%1“.").arg(caption(key)));
    return v;
}

[[noreturn]] void wrongForm(const QString& key)
{
    refuse(key, QStringLiteral("Pole „%1“ má nesprávný tvar.").arg(caption(key)));
}

} // namespace

QString caption(const QString& key)
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("id_pozadavku"), QStringLiteral("Identifikátor požadavku")},
        {QStringLiteral("id_zakaznika"), QStringLiteral("Zákazník")},
        {QStringLiteral("id_topneho_zdroje"), QStringLiteral("Topný zdroj")},
        {QStringLiteral("nazev"), QStringLiteral("Název")},
        {QStringLiteral("typ"), QStringLiteral("Typ")},
        {QStringLiteral("vyrobce"), QStringLiteral("Výrobce")},
        {QStringLiteral("vyrobni_cislo"), QStringLiteral("Výrobní číslo")},
        {QStringLiteral("carovy_kod"), QStringLiteral("Čárový kód")},
        {QStringLiteral("rok_vyroby"), QStringLiteral("Rok výroby")},
        {QStringLiteral("kategorie"), QStringLiteral("Kategorie")},
        {QStringLiteral("datum"), QStringLiteral("Datum")},
        {QStringLiteral("cinnost"), QStringLiteral("Činnost")},
        {QStringLiteral("technik"), QStringLiteral("Technik")},
        {QStringLiteral("cena_doprava"), QStringLiteral("Cena doprava")},
        {QStringLiteral("cena_prace"), QStringLiteral("Cena práce")},
        {QStringLiteral("cena_material"), QStringLiteral("Cena materiál")},
        {QStringLiteral("cena_ostatni"), QStringLiteral("Cena ostatní")},
        {QStringLiteral("poznamka"), QStringLiteral("Poznámka")},
        {QStringLiteral("login"), QStringLiteral("Přihlašovací jméno")},
        {QStringLiteral("heslo"), QStringLiteral("Heslo")},
        {QStringLiteral("nove_heslo"), QStringLiteral("Nové heslo")},
        {QStringLiteral("puvodni"), QStringLiteral("Původní záznam")},
    };
    return captions.value(key, key);
}

void refuse(const QString& key, const QString& message)
{
    throw ApiError(400, message, key);
}

void refuseReference(const QString& key)
{
    refuse(key, QStringLiteral("Pole „%1“ neodkazuje na žádnou položku číselníku.").arg(caption(key)));
}

QString requestId(const QJsonObject& body, const QString& key)
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9-]{16,64}$"));
    const QJsonValue v = present(body, key, true);
    if (!v.isString() || !form.match(v.toString()).hasMatch())
        refuse(key, QStringLiteral("Identifikátor požadavku musí mít 16 až 64 písmen, číslic nebo pomlček."));
    return v.toString();
}

std::optional<qint64> integer(const QJsonObject& body, const QString& key, bool required)
{
    const QJsonValue v = present(body, key, required);
    if (v.isUndefined() || v.isNull())
        return std::nullopt;
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 2147483647.0)
        wrongForm(key);
    return qint64(d);
}

std::optional<QString> text(const QJsonObject& body, const ColumnInfo& column, bool required)
{
    const QJsonValue v = present(body, column.name, required);
    if (v.isUndefined() || v.isNull())
        return std::nullopt;
    if (!v.isString())
        wrongForm(column.name);
    const QString t = v.toString().trimmed();
    if (t.isEmpty()) {
        if (required)
            refuse(column.name, QStringLiteral("Vyplňte pole „%1“.").arg(caption(column.name)));
        return std::nullopt;
    }
    if (column.kind == ColumnKind::Text && column.maxLength > 0 && t.size() > column.maxLength)
        refuse(column.name, QStringLiteral("Pole „%1“ smí mít nejvýše %2 znaků.")
                                .arg(caption(column.name))
                                .arg(column.maxLength));
    for (const QChar c : t) {
        if (c.category() == QChar::Other_Control && c != u'\n' && c != u'\r' && c != u'\t')
            wrongForm(column.name);
    }
    return t;
}

QDate date(const QJsonObject& body, const QString& key)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QJsonValue v = present(body, key, true);
    const QDate d = v.isString() && form.match(v.toString()).hasMatch()
                        ? QDate::fromString(v.toString(), Qt::ISODate)
                        : QDate();
    if (!d.isValid() || d.year() < 1900)
        refuse(key, QStringLiteral("Pole „%1“ musí být platné datum ve tvaru RRRR-MM-DD.").arg(caption(key)));
    return d;
}

std::optional<qint64> money(const QJsonObject& body, const QString& key)
{
    const QJsonValue v = present(body, key, false);
    if (v.isUndefined() || v.isNull() || (v.isString() && v.toString().trimmed().isEmpty()))
        return std::nullopt;
    qint64 amount = 0;
    if (!v.isString() || v.toString().contains(u',') || !FieldValues::parseMoney(v.toString(), &amount))
        refuse(key,
               QStringLiteral("Pole „%1“ musí být částka s nejvýše 11 číslicemi před desetinnou tečkou a "
                              "nejvýše 4 za ní.")
                   .arg(caption(key)));
    return amount;
}

std::optional<qint64> year(const QJsonObject& body, const QString& key)
{
    const std::optional<qint64> y = integer(body, key, false);
    if (y && (*y < 1900 || *y > 2100))
        refuse(key, QStringLiteral("Pole „%1“ musí být rok mezi 1900 a 2100.").arg(caption(key)));
    return y;
}

QJsonObject object(const QJsonObject& body, const QString& key)
{
    const QJsonValue v = present(body, key, true);
    if (!v.isObject())
        wrongForm(key);
    return v.toObject();
}

} // namespace Input
