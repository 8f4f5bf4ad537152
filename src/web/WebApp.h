#pragma once

#include "web/StaticFiles.h"
#include "web/WebServices.h"

namespace httplib {
struct Request;
struct Response;
} // namespace httplib
class RequestContext;

// The web app as one entry point: the socket server hands it every request, and the tests
// do the same without sockets. It routes by the authorization table, checks the session,
// the role, the origin and the body, runs the handler and answers in JSON (or with a file
// of the app shell), every answer with the security headers.
class WebApp
{
public:
    static constexpr size_t LargestBody = 64 * 1024;

    explicit WebApp(WebOptions options);

    void handle(const httplib::Request& request, httplib::Response& response);
    // An answer the HTTP library made up itself (a body too large, a request it could not
    // read): the API's error body where it has none, and the security headers.
    void finishError(const httplib::Request& request, httplib::Response& response) const;
    bool tls() const { return m_services.options.tls; }
    // A thread that served requests ends: its database connection is closed.
    void threadEnds() { m_services.database.forgetConnection(); }
    // The account of the request this thread handled last, 0 for none: for the log.
    static qint64 lastAccount();

private:
    void route(RequestContext& context);
    bool serveFile(const httplib::Request& request, httplib::Response& response) const;
    void checkWrite(RequestContext& context) const;
    void checkAccess(RequestContext& context);

    WebServices m_services;
    StaticFiles m_files;
};
