#include "web/WebServer.h"

#include "web/RequestLog.h"
#include "web/WebApp.h"
#include "web/WebSettings.h"

#include <httplib.h>
#include <malloc.h>
#include <netinet/tcp.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>

namespace {

// What the requests freed goes back to the system every few seconds, by the request that
// comes after: freed in the middle of the heap by any of the threads, it would otherwise stay
// with the server after a busy moment.
void returnFreedMemory()
{
    static std::atomic<qint64> lastTrim{0};
    const qint64 now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    qint64 last = lastTrim.load();
    if (now - last >= WebServer::TrimSeconds && lastTrim.compare_exchange_strong(last, now))
        malloc_trim(0);
}

// The threads that serve the connections: each keep-alive connection holds one. When all
// are busy, a few connections wait; beyond them the server stops accepting until one is
// done, so the operating system holds (or refuses) the rest.
class BoundedThreadPool : public httplib::TaskQueue
{
public:
    // threadEnds runs on each thread as it ends.
    BoundedThreadPool(int threads, int waiting, std::function<void()> threadEnds)
        : m_waiting(size_t(waiting)), m_threadEnds(std::move(threadEnds))
    {
        for (int i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { work(); });
    }
    ~BoundedThreadPool() override = default;

    void enqueue(std::function<void()> job) override
    {
        std::unique_lock lock(m_mutex);
        m_roomLeft.wait(lock, [this] { return m_jobs.size() < m_waiting || m_stopping; });
        m_jobs.push_back(std::move(job));
        m_jobReady.notify_one();
    }

    void shutdown() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_jobReady.notify_all();
        m_roomLeft.notify_all();
        for (std::thread& t : m_threads)
            t.join();
    }

private:
    void work()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(m_mutex);
                m_jobReady.wait(lock, [this] { return !m_jobs.empty() || m_stopping; });
                if (m_jobs.empty())
                    break;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
                m_roomLeft.notify_one();
            }
            job();
        }
        m_threadEnds();
    }

    size_t m_waiting;
    std::function<void()> m_threadEnds;
    std::mutex m_mutex;
    std::condition_variable m_jobReady;
    std::condition_variable m_roomLeft;
    std::deque<std::function<void()>> m_jobs;
    std::vector<std::thread> m_threads;
    bool m_stopping = false;
};

thread_local std::chrono::steady_clock::time_point requestStart;

void logRequest(const httplib::Request& request, const httplib::Response& response)
{
    const qint64 ms = requestStart.time_since_epoch().count() == 0
                          ? 0
                          : std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - requestStart)
                                .count();
    const QString line =
        RequestLog::line(QString::fromStdString(request.method), QString::fromStdString(request.path),
                         response.status, ms, WebApp::lastAccount());
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    requestStart = {};
}

} // namespace

WebServer::WebServer(WebApp& app, const WebSettings& settings)
    : m_app(app), m_address(settings.Adresa), m_port(settings.Port), m_certificate(settings.Certifikat),
      m_key(settings.Klic)
{
}

WebServer::~WebServer() = default;

QString WebServer::bind()
{
    if (!m_certificate.isEmpty()) {
        auto tls = std::make_unique<httplib::SSLServer>(m_certificate.toLocal8Bit().constData(),
                                                        m_key.toLocal8Bit().constData());
        if (!tls->is_valid())
            return QStringLiteral("Certifikát „%1“ nebo klíč „%2“ nelze načíst.").arg(m_certificate, m_key);
        SSL_CTX_set_min_proto_version(tls->ssl_context(), TLS1_2_VERSION);
        m_server = std::move(tls);
    } else {
        m_server = std::make_unique<httplib::Server>();
    }
    httplib::Server& s = *m_server;
    // A thread's database connection is closed on the thread that made it.
    s.new_task_queue = [this] {
        return new BoundedThreadPool(Threads, WaitingConnections, [this] { m_app.threadEnds(); });
    };
    s.set_tcp_nodelay(true);
    s.set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    });
    s.set_read_timeout(HeaderSeconds, 0);
    s.set_write_timeout(HeaderSeconds, 0);
    s.set_keep_alive_timeout(KeepAliveSeconds);
    s.set_keep_alive_max_count(1000);
    s.set_payload_max_length(WebApp::LargestBody);
    // Every request goes to the app, once its body is read (the server reads it only for a
    // route of its own, after the routing's first step).
    s.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestStart = std::chrono::steady_clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    const auto handle = [this](const httplib::Request& request, httplib::Response& response) {
        m_app.handle(request, response);
        returnFreedMemory();
    };
    const std::string everything = ".*";
    s.Get(everything, handle);
    s.Post(everything, handle);
    s.Put(everything, handle);
    s.Patch(everything, handle);
    s.Delete(everything, handle);
    s.Options(everything, handle);
    s.set_error_handler(httplib::Server::HandlerWithResponse(
        [this](const httplib::Request& request, httplib::Response& response) {
            m_app.finishError(request, response);
            return httplib::Server::HandlerResponse::Handled;
        }));
    s.set_exception_handler(
        [this](const httplib::Request& request, httplib::Response& response, std::exception_ptr) {
            response.status = 500;
            response.body.clear();
            m_app.finishError(request, response);
        });
    s.set_logger(logRequest);

    const std::string host = m_address.toStdString();
    const bool bound = m_port == 0 ? (m_port = s.bind_to_any_port(host)) > 0 : s.bind_to_port(host, m_port);
    if (!bound)
        return QStringLiteral("Server nemůže naslouchat na adrese %1, port %2.").arg(m_address).arg(m_port);
    return QString();
}

void WebServer::run()
{
    m_server->listen_after_bind();
}

void WebServer::stop()
{
    if (m_server)
        m_server->stop();
}
