#include "support/WebFixture.h"

#include "accounts/PasswordHasher.h"
#include "store/DatabaseError.h"
#include "support/SeedData.h"
#include "web/Sessions.h"

#include <QJsonDocument>
#include <QUrl>

#include <stdexcept>

namespace {

WebOptions optionsFor(WebFixture* fixture)
{
    WebOptions o;
    o.openDatabase = [fixture](Connection& c) {
        if (fixture->databaseRefused)
            throw DatabaseError(QStringLiteral("nedostupná"));
        fixture->database.open(c);
    };
    o.tls = fixture->tls;
    o.settingsFile = fixture->database.dir().path(QStringLiteral("Vestibor.ini"));
    o.clock = [fixture] {
        if (fixture->clockFails)
            throw std::runtime_error("clock");
        return fixture->now;
    };
    return o;
}

} // namespace

WebFixture::WebFixture(bool overTls) : tls(overTls), app(optionsFor(this))
{
    database.open(connection);
}

WebFixture::~WebFixture() = default;

std::string WebFixture::cookieOf(const QString& token)
{
    return "__Host-vestibor=" + token.toStdString();
}

WebFixture::Reply WebFixture::send(const std::string& method, const QString& pathAndQuery,
                                   const std::string& body, const httplib::Headers& headers)
{
    httplib::Request request;
    request.method = method;
    const QString path = pathAndQuery.section(u'?', 0, 0);
    request.path = path.toStdString();
    for (const QString& pair : pathAndQuery.section(u'?', 1).split(u'&', Qt::SkipEmptyParts)) {
        const QString key = QUrl::fromPercentEncoding(pair.section(u'=', 0, 0).toUtf8());
        const QString value = QUrl::fromPercentEncoding(pair.section(u'=', 1).toUtf8().replace('+', ' '));
        request.params.emplace(key.toStdString(), value.toStdString());
    }
    request.headers = headers;
    request.body = body;
    request.remote_addr = "192.0.2.10";
    Reply reply;
    app.handle(request, reply.response);
    reply.status = reply.response.status;
    reply.json = QJsonDocument::fromJson(QByteArray::fromStdString(reply.response.body)).object();
    return reply;
}

WebFixture::Reply WebFixture::get(const QString& pathAndQuery, const QString& token)
{
    httplib::Headers headers{{"Host", Host}};
    if (!token.isEmpty())
        headers.emplace("Cookie", cookieOf(token));
    return send("GET", pathAndQuery, std::string(), headers);
}

WebFixture::Reply WebFixture::write(const std::string& method, const QString& path, const QJsonObject& body,
                                    const QString& token)
{
    httplib::Headers headers{
        {"Host", Host}, {"Origin", std::string("https://") + Host}, {"Content-Type", "application/json"}};
    if (!token.isEmpty())
        headers.emplace("Cookie", cookieOf(token));
    return send(method, path, QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), headers);
}

qint64 WebFixture::addAccount(const QString& login, const QString& role, int technician,
                              const QString& password, bool mustChangePassword)
{
    return connection.insert(
        QStringLiteral(
            "INSERT INTO web_ucty (login, role, technik, heslo, aktivni, zmenit_heslo, vytvoreno) VALUES "
            "(?, ?, ?, ?, ?, ?, ?)"),
        {login, role, technician ? QVariant(technician) : QVariant(QMetaType::fromType<int>()),
         password.isEmpty() ? QStringLiteral("-") : PasswordHasher().hash(password), true, mustChangePassword,
         QStringLiteral("2024-01-01 00:00:00")});
}

QString WebFixture::sessionOf(qint64 account)
{
    return Sessions::start(connection, account, now);
}

void WebFixture::seed()
{
    connection.execute(
        QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (1, 'Novák Jan'), "
                       "(2, 'Svoboda Petr')"));
    addKotleAndRevize(connection, {QStringLiteral("Oprava")});
    addCustomer(connection, QStringLiteral("Novák"), QStringLiteral("Brno"));
    addCustomer(connection, QStringLiteral("Dvořáková"), QStringLiteral("Česká Lípa"));
    connection.execute(
        QStringLiteral("UPDATE cis_zakaznici SET hlidani_revizi = ?, ulice = 'Dlouhá 1', tel = "
                       "'+420 123 456 789'"),
        {true});
    connection.execute(
        QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, vyrobni_cislo, carovy_kod, "
                       "kategorie, lhuta) VALUES (1, 'Kotel', 'K1', 'SN-100', 'CK-100', 1, 12), "
                       "(2, 'Kamna', 'K2', 'SN-200', NULL, 1, 12)"));
}

int WebFixture::count(const QString& table)
{
    return connection.query(QStringLiteral("SELECT count(*) FROM ") + table).rows[0][0].toInt();
}

QJsonObject WebFixture::activityBody(qint64 card, const QString& date, const QString& id)
{
    return {{QStringLiteral("id_pozadavku"), id},
            {QStringLiteral("id_topneho_zdroje"), card},
            {QStringLiteral("datum"), date},
            {QStringLiteral("cinnost"), 1},
            {QStringLiteral("cena_prace"), QStringLiteral("1250.5")},
            {QStringLiteral("poznamka"), QStringLiteral("Vyčištěno")}};
}

QString WebFixture::requestId(int n)
{
    return QStringLiteral("pozadavek-%1-0000000000").arg(n, 6, 10, QLatin1Char('0'));
}
