#pragma once

#include "web/SignedInAccount.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>

#include <optional>
#include <string>

namespace httplib {
struct Request;
}
class Connection;
struct Route;
enum class OwnerRule;
struct WebServices;

// One request on its way through the web app: what the router found out about it, and
// the answer the handler gives.
class RequestContext
{
public:
    RequestContext(const httplib::Request& request, WebServices& services);

    const httplib::Request& request;
    WebServices& services;
    const Route* route = nullptr;
    qint64 pathId = 0; // the row id in the path
    std::optional<SignedInAccount> account;
    qint64 accountForLog = 0; // the account a sign-in was for, when there is no session yet
    QString sessionHash;
    QString address;
    QDateTime now; // UTC
    QDate today;   // the firm's day
    QJsonObject body;

    int status = 200;
    QJsonObject reply;
    QByteArray rawReply; // the answer as JSON text already, when the handler wrote it so
    std::string setCookie;

    QString queryValue(const char* name) const;
    // Every value the query gives under the name (mesto=A&mesto=B).
    QStringList queryValues(const char* name) const;
    std::string header(const char* name) const;
    Connection& db();
    const SignedInAccount& signedIn() const { return *account; }
    // Whether the owner rule lets this account change an activity of that technician
    // carried out on that day.
    bool ownerAllows(OwnerRule rule, const QString& technicianName, const QDate& day) const;
    // A row of web_audit from this account (or the one given) and address.
    void audit(const QString& event, qint64 accountId = 0, const QString& table = QString(), qint64 rowId = 0,
               const QJsonObject& before = {}, const QJsonObject& after = {});
};
