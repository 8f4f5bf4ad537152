#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <string>

// One kind of request the load sends, and the way to make the next one of its kind.
struct WebRequestKind
{
    QString name;
    double targetP95Ms = 0;
    // The request for the n-th time this client sends it: method, path, body (empty for GET).
    std::function<void(int n, std::string* method, std::string* path, std::string* body)> make;
};

struct WebKindResult
{
    QString name;
    double targetP95Ms = 0;
    int count = 0;
    int failures = 0;              // answers other than 2xx, or none
    QMap<int, int> failedStatuses; // how many of each status failed (0: no answer)
    double p50 = 0, p95 = 0, max = 0;
};

struct WebLoadSettings
{
    std::string host = "127.0.0.1";
    int port = 0;
    int clients = 20;
    int seconds = 30;
    std::string origin; // https://host:port
};

namespace WebLoad {

// Signs in over HTTPS and returns the session cookie ("__Host-vestibor=…"); empty on failure.
std::string signIn(const WebLoadSettings& settings, const std::string& login, const std::string& password,
                   double* milliseconds = nullptr);
// Sends one JSON request with the cookie and the app's origin; the status, 0 without an answer.
int send(const WebLoadSettings& settings, const std::string& cookie, const std::string& method,
         const std::string& path, const std::string& body, std::string* answer = nullptr);

// Runs the clients, each with a session of its own and a connection kept open, sending the
// kinds in turn until the time is up; the times of each kind over all clients.
QList<WebKindResult> run(const WebLoadSettings& settings, const QList<std::string>& cookies,
                         const QList<WebRequestKind>& kinds);

// The p-th percentile (0..100) of the times, nearest rank.
double percentile(QList<double> times, double p);

} // namespace WebLoad
