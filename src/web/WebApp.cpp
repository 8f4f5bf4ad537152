#include "web/WebApp.h"

#include "store/DatabaseError.h"
#include "web/ApiError.h"
#include "web/RequestContext.h"
#include "web/RouteTable.h"
#include "web/SecurityHeaders.h"
#include "web/Sessions.h"

#include <QJsonDocument>

#include <httplib.h>

namespace {

thread_local qint64 lastAccountOfThread = 0;

const QString notSignedIn = QStringLiteral("Přihlaste se prosím.");
const QString databaseGone = QStringLiteral("Databáze je nedostupná, zkuste to prosím za chvíli.");

QJsonObject errorBody(const QString& message, const QString& field = QString())
{
    QJsonObject body{{QStringLiteral("chyba"), message}};
    if (!field.isEmpty())
        body.insert(QStringLiteral("pole"), field);
    return body;
}

QString messageFor(int status)
{
    switch (status) {
    case 400:
        return QStringLiteral("Neplatný požadavek.");
    case 404:
        return QStringLiteral("Nenalezeno.");
    case 413:
        return QStringLiteral("Požadavek je příliš velký.");
    case 503:
        return databaseGone;
    default:
        return status >= 500 ? QStringLiteral("Na serveru nastala chyba.")
                             : QStringLiteral("Požadavek nelze vyřídit.");
    }
}

void setJson(httplib::Response& response, int status, const QJsonObject& body)
{
    response.status = status;
    response.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(),
                         "application/json; charset=utf-8");
}

bool isJsonType(const std::string& contentType)
{
    static const std::string json = "application/json";
    if (contentType.size() < json.size() ||
        QByteArray::fromStdString(contentType.substr(0, json.size())).toLower() != json.c_str())
        return false;
    return contentType.size() == json.size() || contentType[json.size()] == ';';
}

} // namespace

WebApp::WebApp(WebOptions options) : m_services(std::move(options)), m_files(m_services.options.shellFolder)
{
}

qint64 WebApp::lastAccount()
{
    return lastAccountOfThread;
}

void WebApp::handle(const httplib::Request& request, httplib::Response& response)
{
    lastAccountOfThread = 0;
    RequestContext context(request, m_services);
    bool served = false;
    try {
        context.now = m_services.options.clock();
        context.today = context.now.toLocalTime().date();
        if (request.path.rfind("/api/", 0) != 0) {
            served = serveFile(request, response);
            if (!served)
                throw ApiError(404, messageFor(404));
        } else {
            route(context);
        }
    } catch (const ApiError& e) {
        context.status = e.status();
        context.reply = errorBody(e.message(), e.field());
    } catch (const DatabaseError&) {
        // The database is gone (a server restarted, the file locked): this thread connects
        // anew with the next request.
        m_services.database.forgetConnection();
        context.status = 503;
        context.reply = errorBody(databaseGone);
    } catch (const std::exception&) {
        context.status = 500;
        context.reply = errorBody(messageFor(500));
    }
    lastAccountOfThread = context.account ? context.account->id : context.accountForLog;
    if (!served) {
        if (!context.rawReply.isEmpty() && context.status < 300) {
            response.status = context.status;
            response.set_content(context.rawReply.toStdString(), "application/json; charset=utf-8");
        } else {
            setJson(response, context.status, context.reply);
        }
        if (!context.setCookie.empty())
            response.set_header("Set-Cookie", context.setCookie);
    }
    SecurityHeaders::add(response, request.path, tls());
}

void WebApp::route(RequestContext& context)
{
    const httplib::Request& request = context.request;
    if (request.body.size() > LargestBody)
        throw ApiError(413, messageFor(413));
    const RouteTable::Match match =
        RouteTable::find(QString::fromStdString(request.method), QString::fromStdString(request.path));
    if (!match.route) {
        if (match.pathKnown)
            throw ApiError(405, QStringLiteral("Tato metoda zde není povolena."));
        throw ApiError(404, messageFor(404));
    }
    context.route = match.route;
    context.pathId = match.id;
    if (match.route->writes)
        checkWrite(context);
    checkAccess(context);
    match.route->handler(context);
}

void WebApp::checkWrite(RequestContext& context) const
{
    // Only the app itself writes: a form of another site, or a script of another origin,
    // has another Origin (or a content type a form can send).
    const std::string origin = context.header("Origin");
    const std::string host = context.header("Host");
    const bool ours =
        !host.empty() && (origin == "https://" + host || (!tls() && origin == "http://" + host));
    if (!ours)
        throw ApiError(403, QStringLiteral("Požadavek nepřišel z této aplikace."));
    if (!isJsonType(context.header("Content-Type")))
        throw ApiError(415, QStringLiteral("Požadavek musí být ve formátu JSON."));
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(context.request.body), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw ApiError(400, QStringLiteral("Tělo požadavku není platný JSON objekt."));
    context.body = document.object();
}

void WebApp::checkAccess(RequestContext& context)
{
    const Route& route = *context.route;
    const QString token = Sessions::tokenFromCookies(context.header("Cookie"));
    if (!token.isEmpty() && route.access != RouteAccess::Anyone) {
        context.sessionHash = Sessions::hashOf(token);
        QDateTime lastSeen;
        context.account = Sessions::find(context.db(), context.sessionHash, context.now, &lastSeen);
        if (context.account && lastSeen.secsTo(context.now) >= Sessions::SeenEverySeconds) {
            const auto turn = m_services.database.writeTurn();
            Sessions::seen(context.db(), context.sessionHash, context.now);
        }
    }
    if (route.access == RouteAccess::Anyone)
        return;
    if (!context.account)
        throw ApiError(401, notSignedIn);
    if (!(context.account->office() ? route.office : route.technician))
        throw ApiError(403, QStringLiteral("K této akci nemáte oprávnění."));
    if (route.access == RouteAccess::PasswordKept && context.account->mustChangePassword)
        throw ApiError(403, QStringLiteral("Nejprve si změňte jednorázové heslo."));
}

bool WebApp::serveFile(const httplib::Request& request, httplib::Response& response) const
{
    if (request.method != "GET" && request.method != "HEAD")
        return false;
    const std::optional<StaticFiles::File> file = m_files.find(QString::fromStdString(request.path));
    if (!file)
        return false;
    response.set_header("ETag", file->etag.toStdString());
    response.set_header("Cache-Control", "no-cache");
    if (request.get_header_value("If-None-Match") == file->etag.toStdString()) {
        response.status = 304;
        return true;
    }
    response.status = 200;
    response.set_content(file->content.toStdString(), file->contentType.toStdString());
    return true;
}

void WebApp::finishError(const httplib::Request& request, httplib::Response& response) const
{
    if (response.body.empty())
        setJson(response, response.status, errorBody(messageFor(response.status)));
    SecurityHeaders::add(response, request.path, tls());
}
