#include "helpers/IniFile.h"
#include "support/TestMain.h"
#include "support/WebFixture.h"
#include "web/StaticFiles.h"
#include "web/WebServer.h"
#include "web/WebSettings.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The socket server around the web app: plain HTTP on a loopback address, TLS 1.2 or newer
// with a certificate, no Nagle delay, the body limit and the header timeout on real
// connections; and the settings it starts with.
class TestWebServer : public QObject
{
    Q_OBJECT

    // The server of a fixture on a free port of 127.0.0.1, serving on a thread of its own
    // while it lives.
    struct Running
    {
        Running(WebFixture& f, const QString& certificate = QString(), const QString& key = QString())
        {
            WebSettings settings;
            settings.Port = 0;
            settings.Certifikat = certificate;
            settings.Klic = key;
            server = std::make_unique<WebServer>(f.app, settings);
            error = server->bind();
            if (error.isEmpty())
                thread = std::thread([this] { server->run(); });
        }
        ~Running()
        {
            server->stop();
            if (thread.joinable())
                thread.join();
        }
        std::unique_ptr<WebServer> server;
        std::thread thread;
        QString error;
    };

    // A self-signed certificate and its key in the directory.
    static bool makeCertificate(const QTemporaryDir& dir)
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"),
                       dir.filePath(QStringLiteral("k.pem")), QStringLiteral("-out"),
                       dir.filePath(QStringLiteral("c.pem"))});
        return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
    }

private slots:
    void plainHttpAnswersAtOnceWithTheHeaders()
    {
        WebFixture f(false);
        Running running(f);
        QVERIFY2(running.error.isEmpty(), qPrintable(running.error));
        httplib::Client client("127.0.0.1", running.server->port());
        client.set_keep_alive(true);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 40; ++i) {
            const auto r = client.Get("/api/ucet");
            QVERIFY(r);
            QCOMPARE(r->status, 401);
            QVERIFY(r->has_header("Content-Security-Policy"));
            QCOMPARE(r->get_header_value("Cache-Control"), "no-store");
            QVERIFY(!r->has_header("Server"));
            QVERIFY(!r->has_header("Strict-Transport-Security"));
        }
        // With Nagle's delay each answer on a kept connection waits some 40 ms.
        QVERIFY2(timer.elapsed() < 800, qPrintable(QString::number(timer.elapsed())));
        const auto page = client.Get("/", {{"Accept-Encoding", "gzip"}});
        QVERIFY(page);
        QCOMPARE(page->status, 200);
        QCOMPARE(page->get_header_value("Content-Encoding"), "gzip");
        QCOMPARE(page->get_header_value("X-Content-Type-Options"), "nosniff");
    }

    // A body over 64 KiB is refused by the server itself, with the API's answer and the
    // security headers.
    void aLargeBodyGets413()
    {
        WebFixture f(false);
        Running running(f);
        QVERIFY(running.error.isEmpty());
        httplib::Client client("127.0.0.1", running.server->port());
        const auto r = client.Post("/api/cinnosti", {{"Origin", "http://127.0.0.1"}},
                                   std::string(WebApp::LargestBody + 1, 'x'), "application/json");
        QVERIFY(r);
        QCOMPARE(r->status, 413);
        QCOMPARE(r->body, "{\"chyba\":\"Požadavek je příliš velký.\"}");
        QCOMPARE(r->get_header_value("Referrer-Policy"), "no-referrer");
    }

    // A header not finished within ten seconds: the connection is closed.
    void aStalledHeaderIsClosed()
    {
        WebFixture f;
        Running running(f);
        QVERIFY(running.error.isEmpty());
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(running.server->port()));
        inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        QCOMPARE(::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const char half[] = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n";
        QCOMPARE(::send(sock, half, sizeof half - 1, 0), ssize_t(sizeof half - 1));
        timeval wait{20, 0};
        setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        QElapsedTimer timer;
        timer.start();
        // Refused after ten seconds, and closed when the connection has waited as long as a
        // kept one may for its next request.
        std::string answer;
        qint64 answered = -1;
        char buffer[256];
        ssize_t got = 0;
        while ((got = ::recv(sock, buffer, sizeof buffer, 0)) > 0) {
            if (answered < 0)
                answered = timer.elapsed();
            answer.append(buffer, size_t(got));
        }
        const qint64 closed = timer.elapsed();
        ::close(sock);
        QCOMPARE(got, ssize_t(0));
        QVERIFY2(answer.rfind("HTTP/1.1 400 ", 0) == 0, answer.c_str());
        const qint64 header = WebServer::HeaderSeconds * 1000;
        QVERIFY2(answered >= header - 1000 && answered < header + 2000,
                 qPrintable(QString::number(answered)));
        QVERIFY2(closed < header + WebServer::KeepAliveSeconds * 1000 + 2000,
                 qPrintable(QString::number(closed)));
    }

    // No more connections are taken than the threads serve and the queue holds: the rest
    // wait unanswered outside, and are served as soon as the ones taken are done.
    void connectionsBeyondTheCapWait()
    {
        WebFixture f;
        Running running(f);
        QVERIFY(running.error.isEmpty());
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(running.server->port()));
        inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        const auto connected = [&] {
            const int sock = socket(AF_INET, SOCK_STREAM, 0);
            return ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? sock : -1;
        };
        const auto openFiles = [] {
            return QDir(QStringLiteral("/proc/self/fd"))
                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                .size();
        };
        const qsizetype before = openFiles();
        // Each holds a thread or a place in the queue with a header never finished; the last
        // few find neither.
        const int cap = WebServer::Threads + WebServer::WaitingConnections;
        std::vector<int> stalled;
        const char half[] = "GET / HTTP/1.1\r\n";
        for (int i = 0; i < cap + 3; ++i) {
            stalled.push_back(connected());
            QVERIFY(stalled.back() >= 0);
            QCOMPARE(::send(stalled.back(), half, sizeof half - 1, 0), ssize_t(sizeof half - 1));
        }
        QThread::msleep(300);
        // The server took the connections it serves or queues, and the one it waits to queue.
        QCOMPARE(openFiles() - before - qsizetype(stalled.size()), qsizetype(cap + 1));
        const int late = connected();
        QVERIFY(late >= 0);
        const char whole[] = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        QCOMPARE(::send(late, whole, sizeof whole - 1, 0), ssize_t(sizeof whole - 1));
        timeval wait{1, 0};
        setsockopt(late, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        char buffer[64];
        QCOMPARE(::recv(late, buffer, sizeof buffer, 0), ssize_t(-1)); // nothing within a second
        for (const int sock : stalled)
            ::close(sock);
        wait = {5, 0};
        setsockopt(late, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        const ssize_t got = ::recv(late, buffer, sizeof buffer, 0);
        ::close(late);
        QVERIFY(got > 0);
        QVERIFY(std::string(buffer, size_t(got)).rfind("HTTP/1.1 200 ", 0) == 0);
    }

    // Over TLS: 1.2 or newer only, and HSTS.
    void tlsIsTwelveOrNewer()
    {
        QTemporaryDir dir;
        QVERIFY(makeCertificate(dir));
        WebFixture f;
        Running running(f, dir.filePath(QStringLiteral("c.pem")), dir.filePath(QStringLiteral("k.pem")));
        QVERIFY2(running.error.isEmpty(), qPrintable(running.error));
        const auto get = [&](int newest) {
            httplib::SSLClient client("127.0.0.1", running.server->port());
            client.enable_server_certificate_verification(false);
            SSL_CTX_set_security_level(client.ssl_context(), 0);
            SSL_CTX_set_min_proto_version(client.ssl_context(), TLS1_VERSION);
            SSL_CTX_set_max_proto_version(client.ssl_context(), newest);
            return client.Get("/");
        };
        QVERIFY(!get(TLS1_1_VERSION));
        const auto r = get(TLS1_2_VERSION);
        QVERIFY(r);
        QCOMPARE(r->status, 200);
        QCOMPARE(r->get_header_value("Strict-Transport-Security"), "max-age=31536000");
        QVERIFY(get(TLS1_3_VERSION));
    }

    // Without a certificate only a loopback address; both files or neither.
    void theSettingsOfTheServer()
    {
        QTemporaryDir dir;
        const auto read = [&](const QByteArray& ini) {
            QFile file(dir.filePath(QStringLiteral("Vestibor.ini")));
            file.open(QIODevice::WriteOnly);
            file.write(ini);
            file.close();
            return WebSettings::read(IniFile(file.fileName()), dir.path());
        };
        const WebSettings defaults = read(QByteArray());
        QCOMPARE(defaults.Adresa, QStringLiteral("127.0.0.1"));
        QCOMPARE(defaults.Port, 8443);
        QVERIFY(defaults.problem().isEmpty());
        const WebSettings open = read("[web]\r\nAdresa=0.0.0.0\r\nPort=99999\r\n");
        QCOMPARE(open.Port, 8443);
        QCOMPARE(
            open.problem(),
            QStringLiteral("Bez certifikátu (klíče Certifikat a Klic v oddílu [web] nastavení) smí server "
                           "naslouchat jen na adrese tohoto počítače, například 127.0.0.1; adresa „0.0.0.0“ "
                           "vyžaduje certifikát."));
        QVERIFY(read("[web]\r\nAdresa=::1\r\n").problem().isEmpty());
        QVERIFY(read("[web]\r\nAdresa=127.0.0.2\r\n").problem().isEmpty());
        const WebSettings withCertificate =
            read("[web]\r\nAdresa=0.0.0.0\r\nCertifikat=c.pem\r\nKlic=k.pem\r\n");
        QVERIFY(withCertificate.problem().isEmpty());
        QCOMPARE(withCertificate.Klic, dir.filePath(QStringLiteral("k.pem")));
        QVERIFY(!read("[web]\r\nCertifikat=c.pem\r\n").problem().isEmpty());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("nova")));
        QCOMPARE(read("[web]\r\nAplikace=nova\r\n").Aplikace, dir.filePath(QStringLiteral("nova")));
        QVERIFY(read("[web]\r\nAplikace=nova\r\n").problem().isEmpty());
        QCOMPARE(read("[web]\r\nAplikace=zadna\r\n").problem(),
                 QStringLiteral("Složka aplikace „%1“ (klíč Aplikace v oddílu [web] nastavení) neexistuje.")
                     .arg(dir.filePath(QStringLiteral("zadna"))));
    }

    // The service worker of the compiled-in shell: the shell's version, every other file of
    // it to keep but the barcode reader, and the browser asks for it anew each time.
    void theWorkerCarriesTheVersionAndTheFiles()
    {
        WebFixture f;
        const auto worker = f.get(QStringLiteral("/sw.js"));
        QCOMPARE(worker.status, 200);
        QCOMPARE(worker.header("Cache-Control"), "no-cache");
        QCOMPARE(worker.header("Content-Type"), "text/javascript; charset=utf-8");
        const QByteArray version = StaticFiles().version();
        QCOMPARE(version.size(), 16);
        const QString body = QString::fromStdString(worker.response.body);
        QVERIFY(body.contains(QStringLiteral("const VERSION = '%1';").arg(QString::fromLatin1(version))));
        QStringList expected;
        QDirIterator it(QStringLiteral(":/webapp"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(QStringLiteral(":/webapp").size());
            if (path != u"/sw.js" && !path.startsWith(u"/vendor/"))
                expected << path;
        }
        std::sort(expected.begin(), expected.end());
        QVERIFY(expected.contains(QStringLiteral("/index.html")));
        QVERIFY(expected.contains(QStringLiteral("/js/main.js")));
        QVERIFY(QFile::exists(QStringLiteral(":/webapp/vendor/zxing_reader.wasm")));
        const QString files = body.section(QStringLiteral("const FILES = "), 1).section(u';', 0, 0);
        QCOMPARE(files,
                 QStringLiteral("[\"") + expected.join(QStringLiteral("\",\"")) + QStringLiteral("\"]"));
        const auto again =
            f.send("GET", QStringLiteral("/sw.js"), {}, {{"If-None-Match", worker.header("ETag")}});
        QCOMPARE(again.status, 304);
    }

    // A folder named by Aplikace: its files as they are now, the version following them, and
    // nothing outside it, by a path or by a link.
    void theShellOfAFolderAndNothingOutside()
    {
        QTemporaryDir dir;
        const auto put = [&](const QString& name, const QByteArray& content) {
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path()));
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        };
        put(QStringLiteral("tajne.txt"), "heslo");
        put(QStringLiteral("venku/jine.txt"), "cizí");
        put(QStringLiteral("app/index.html"), "<!DOCTYPE html>");
        put(QStringLiteral("app/js/main.js"), "export const a = 1;");
        put(QStringLiteral("app/sw.js"), "const VERSION = '@VERZE@';\nconst FILES = ['@SOUBORY@'];\n");
        put(QStringLiteral("app/vendor/ctecka.wasm"), "čtečka");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("tajne.txt")),
                            dir.filePath(QStringLiteral("app/odkaz.txt"))));
        QVERIFY(
            QFile::link(dir.filePath(QStringLiteral("venku")), dir.filePath(QStringLiteral("app/venku"))));
        const StaticFiles shell(dir.filePath(QStringLiteral("app")));

        QCOMPARE(shell.find(QStringLiteral("/"))->content, QByteArray("<!DOCTYPE html>"));
        QCOMPARE(shell.find(QStringLiteral("/js/main.js"))->contentType, "text/javascript; charset=utf-8");
        for (const char* outside : {"/../tajne.txt", "/js/../../tajne.txt", "/odkaz.txt", "/venku/jine.txt",
                                    "//tajne.txt", "/app/index.html"})
            QVERIFY2(!shell.find(QString::fromLatin1(outside)), outside);
        const QByteArray before = shell.version();
        const QByteArray worker = shell.find(QStringLiteral("/sw.js"))->content;
        QCOMPARE(worker,
                 "const VERSION = '" + before + "';\nconst FILES = [\"/index.html\",\"/js/main.js\"];\n");
        // The reader, kept only once fetched, is served all the same and counts in the version.
        QCOMPARE(shell.find(QStringLiteral("/vendor/ctecka.wasm"))->contentType, "application/wasm");
        put(QStringLiteral("app/vendor/ctecka.wasm"), "jiná čtečka");
        QVERIFY(shell.version() != before);
        put(QStringLiteral("app/vendor/ctecka.wasm"), "čtečka");
        QCOMPARE(shell.version(), before);

        put(QStringLiteral("app/js/main.js"), "export const a = 2;");
        QCOMPARE(shell.find(QStringLiteral("/js/main.js"))->content, QByteArray("export const a = 2;"));
        QVERIFY(shell.version() != before);
        QVERIFY(shell.find(QStringLiteral("/sw.js"))->content.contains("'" + shell.version() + "'"));
        put(QStringLiteral("tajne.txt"), "jiné heslo");
        put(QStringLiteral("app/js/main.js"), "export const a = 1;");
        QCOMPARE(shell.version(), before);
    }
};

VESTIBOR_TEST_MAIN(TestWebServer)
#include "tst_webserver.moc"
