#pragma once

#include <QString>

#include <memory>

class WebApp;
struct WebSettings;
namespace httplib {
class Server;
}

// The socket server around the web app: TLS 1.2 or newer when there is a certificate, a
// pool of 32 threads with a bounded queue, no Nagle delay, ten seconds for a request's
// header, 64 KiB of body, one log line per request on standard error.
class WebServer
{
public:
    static constexpr int Threads = 32;
    static constexpr int WaitingConnections = 64;
    static constexpr int HeaderSeconds = 10;
    static constexpr int KeepAliveSeconds = 5;
    static constexpr int TrimSeconds = 2;

    WebServer(WebApp& app, const WebSettings& settings);
    ~WebServer();

    // Binds the address (port 0: any free one); the Czech reason when it cannot.
    QString bind();
    int port() const { return m_port; }
    // Serves until stop().
    void run();
    void stop();

private:
    WebApp& m_app;
    QString m_address;
    int m_port;
    QString m_certificate;
    QString m_key;
    std::unique_ptr<httplib::Server> m_server;
};
