#pragma once

#include "store/Connection.h"
#include "support/TestDatabase.h"
#include "web/WebApp.h"

#include <QJsonObject>

#include <httplib.h>

// The web app on an empty database of the engine the tests run on, with a clock the test
// sets, and requests handed to it as the socket server would, without sockets.
class WebFixture
{
public:
    static constexpr const char* Host = "vestibor.test";

    explicit WebFixture(bool tls = true);
    ~WebFixture();

    struct Reply
    {
        int status = 0;
        QJsonObject json;
        httplib::Response response;
        std::string header(const char* name) const { return response.get_header_value(name); }
        QString error() const { return json.value(QStringLiteral("chyba")).toString(); }
    };

    // A request as the app itself sends it; the token signs it in.
    Reply get(const QString& pathAndQuery, const QString& token = QString());
    Reply write(const std::string& method, const QString& path, const QJsonObject& body,
                const QString& token = QString());
    // Any request, headers and body as given.
    Reply send(const std::string& method, const QString& pathAndQuery, const std::string& body,
               const httplib::Headers& headers);
    static std::string cookieOf(const QString& token);

    // A new account; with a password it can sign in, else it gets only a session.
    qint64 addAccount(const QString& login, const QString& role, int technician,
                      const QString& password = QString(), bool mustChangePassword = false);
    // A session of that account, as a sign-in makes it: the token.
    QString sessionOf(qint64 account);
    // A session of a new account.
    QString signedIn(const QString& login, const QString& role, int technician)
    {
        return sessionOf(addAccount(login, role, technician));
    }
    // Technicians 1 "Novák Jan" and 2 "Svoboda Petr", category 1 "Kotle" (12 months), kind
    // 1 "Revize", customer 1 "Novák" in Brno with card 1 (serial "SN-100"), customer 2
    // "Dvořáková" in Česká Lípa with card 2.
    void seed();

    int count(const QString& table);
    static QJsonObject activityBody(qint64 card, const QString& date, const QString& requestId);
    static QString requestId(int n);
    // A new activity on the card as the app sends it, under request id number `request`.
    Reply addActivity(qint64 card, int request, const QString& token,
                      const QString& date = QStringLiteral("2024-03-15"))
    {
        return write("POST", QStringLiteral("/api/cinnosti"), activityBody(card, date, requestId(request)),
                     token);
    }

    TestDatabase database;
    Connection connection{QStringLiteral("web-fixture")};
    QDateTime now{QDate(2024, 3, 15), QTime(9, 0), Qt::UTC};
    bool clockFails = false;
    bool databaseRefused = false;
    bool tls;
    WebApp app;
};
