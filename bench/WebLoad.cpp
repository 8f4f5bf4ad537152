#include "WebLoad.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace WebLoad {

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<httplib::SSLClient> client(const WebLoadSettings& settings)
{
    auto c = std::make_unique<httplib::SSLClient>(settings.host, settings.port);
    c->enable_server_certificate_verification(false); // the benchmark's own certificate
    c->set_keep_alive(true);
    // As browsers do: a request whose headers and body go out apart would otherwise wait for
    // the server's delayed acknowledgement (40 ms) before its body is sent.
    c->set_tcp_nodelay(true);
    c->set_read_timeout(30, 0);
    return c;
}

int sendOn(httplib::SSLClient& c, const WebLoadSettings& settings, const std::string& cookie,
           const std::string& method, const std::string& path, const std::string& body, std::string* answer)
{
    httplib::Headers headers{{"Origin", settings.origin}};
    if (!cookie.empty())
        headers.emplace("Cookie", cookie);
    httplib::Result r = method == "GET"   ? c.Get(path, headers)
                        : method == "PUT" ? c.Put(path, headers, body, "application/json")
                                          : c.Post(path, headers, body, "application/json");
    if (!r)
        return 0;
    if (answer)
        *answer = r->body;
    return r->status;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

std::string signIn(const WebLoadSettings& settings, const std::string& login, const std::string& password,
                   double* milliseconds)
{
    auto c = client(settings);
    const std::string body = "{\"login\":\"" + login + "\",\"heslo\":\"" + password + "\"}";
    const Clock::time_point start = Clock::now();
    httplib::Result r =
        c->Post("/api/prihlaseni", httplib::Headers{{"Origin", settings.origin}}, body, "application/json");
    if (milliseconds)
        *milliseconds = millisecondsSince(start);
    if (!r || r->status != 200)
        return {};
    const std::string cookie = r->get_header_value("Set-Cookie");
    return cookie.substr(0, cookie.find(';'));
}

int send(const WebLoadSettings& settings, const std::string& cookie, const std::string& method,
         const std::string& path, const std::string& body, std::string* answer)
{
    auto c = client(settings);
    return sendOn(*c, settings, cookie, method, path, body, answer);
}

QList<WebKindResult> run(const WebLoadSettings& settings, const QList<std::string>& cookies,
                         const QList<WebRequestKind>& kinds)
{
    std::mutex gathered;
    QList<QList<double>> times(kinds.size());
    QList<QMap<int, int>> failures(kinds.size());
    const Clock::time_point end = Clock::now() + std::chrono::seconds(settings.seconds);
    std::vector<std::thread> clients;
    for (int i = 0; i < settings.clients; ++i) {
        clients.emplace_back([&, i] {
            auto c = client(settings);
            QList<QList<double>> mine(kinds.size());
            QList<QMap<int, int>> failed(kinds.size());
            // Each client starts at another kind, so that all kinds run at every moment.
            for (int n = 0; Clock::now() < end; ++n) {
                const int k = (n + i) % int(kinds.size());
                std::string method, path, body;
                kinds[k].make(n * settings.clients + i, &method, &path, &body);
                const Clock::time_point start = Clock::now();
                const int status =
                    sendOn(*c, settings, cookies[i % cookies.size()], method, path, body, nullptr);
                mine[k].append(millisecondsSince(start));
                if (status < 200 || status > 299)
                    ++failed[k][status];
            }
            const std::lock_guard<std::mutex> lock(gathered);
            for (int k = 0; k < kinds.size(); ++k) {
                times[k] += mine[k];
                for (auto f = failed[k].cbegin(); f != failed[k].cend(); ++f)
                    failures[k][f.key()] += f.value();
            }
        });
    }
    for (std::thread& t : clients)
        t.join();
    QList<WebKindResult> results;
    for (int k = 0; k < kinds.size(); ++k) {
        WebKindResult r;
        r.name = kinds[k].name;
        r.targetP95Ms = kinds[k].targetP95Ms;
        r.count = int(times[k].size());
        r.failedStatuses = failures[k];
        for (const int n : failures[k])
            r.failures += n;
        r.p50 = percentile(times[k], 50);
        r.p95 = percentile(times[k], 95);
        r.max = percentile(times[k], 100);
        results.append(r);
    }
    return results;
}

double percentile(QList<double> times, double p)
{
    if (times.isEmpty())
        return 0;
    std::sort(times.begin(), times.end());
    const qsizetype rank = qsizetype(std::ceil(p / 100.0 * double(times.size())));
    return times[std::clamp<qsizetype>(rank - 1, 0, times.size() - 1)];
}

} // namespace WebLoad
