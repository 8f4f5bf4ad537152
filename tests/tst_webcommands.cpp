#include "accounts/PasswordHasher.h"
#include "support/TestMain.h"
#include "support/WebFixture.h"
#include "web/AccountCommand.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTextStream>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// The program vestibor-web itself: the account commands on the database, the help, a start
// refused with a clear message, and what it acknowledged outliving a kill.
class TestWebCommands : public QObject
{
    Q_OBJECT

    struct Output
    {
        int status;
        QString out;
        QString err;
    };
    static Output run(Connection& c, const QStringList& words)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = AccountCommand::run(c, words, o, e);
        o.flush();
        e.flush();
        return {status, out, err};
    }

    static Output program(const QStringList& arguments)
    {
        QProcess p;
        p.start(QStringLiteral(VESTIBOR_WEB_PROGRAM), arguments);
        p.waitForFinished(30000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

private slots:
    void theAccountCommands()
    {
        WebFixture f;
        f.seed();
        Connection& c = f.connection;
        const Output added = run(c, {QStringLiteral("pridat"), QStringLiteral("Novak"), QStringLiteral("1"),
                                     QStringLiteral("technik")});
        QCOMPARE(added.status, 0);
        const QString password =
            added.out.section(QStringLiteral("Jednorázové heslo: "), 1).section(u'\n', 0, 0);
        QCOMPARE(password.size(), 12);
        QVERIFY(added.out.startsWith(QStringLiteral("Účet „novak“ je založen.")));
        const QString hash = c.query(QStringLiteral("SELECT heslo FROM web_ucty")).rows[0][0].toString();
        QVERIFY(PasswordHasher().verify(hash, password));
        QVERIFY(!hash.contains(password));

        const Output listed = run(c, {QStringLiteral("seznam")});
        QCOMPARE(listed.out,
                 QStringLiteral("novak\ttechnik\t1 Novák Jan\taktivní\tjednorázové heslo\tpřihlášen: -\n"));
        QCOMPARE(run(c, {QStringLiteral("zablokovat"), QStringLiteral("novak")}).status, 0);
        QVERIFY(run(c, {QStringLiteral("seznam")}).out.contains(QStringLiteral("zablokovaný")));
        QCOMPARE(run(c, {QStringLiteral("odblokovat"), QStringLiteral("novak")}).status, 0);
        const Output renewed = run(c, {QStringLiteral("heslo"), QStringLiteral("novak")});
        QCOMPARE(renewed.status, 0);
        QVERIFY(renewed.out.startsWith(QStringLiteral("Nové jednorázové heslo účtu „novak“: ")));

        // Refusals, in Czech, with a status that is not 0.
        const Output unknown = run(c, {QStringLiteral("zablokovat"), QStringLiteral("nikdo")});
        QCOMPARE(unknown.status, 1);
        QVERIFY(!unknown.err.isEmpty());
        QCOMPARE(run(c, {QStringLiteral("pridat"), QStringLiteral("x"), QStringLiteral("jedna"),
                         QStringLiteral("technik")})
                     .err,
                 QStringLiteral("Číslo technika „jedna“ není kladné celé číslo.\n"));
        QCOMPARE(run(c, {QStringLiteral("smazat"), QStringLiteral("novak")}).status, 2);
        QCOMPARE(run(c, {QStringLiteral("seznam"), QStringLiteral("navic")}).status, 2);
        QCOMPARE(c.query(QStringLiteral("SELECT count(*) FROM web_ucty")).rows[0][0].toInt(), 1);
    }

    void theProgramsHelpAndRefusals()
    {
        const Output help = program({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith(
            QStringLiteral("Použití: vestibor-web [--adresar <adresář programu>] [ucet <příkaz>]")));
        QVERIFY(help.out.contains(QStringLiteral("ucet pridat <login> <číslo technika> <technik|kancelar>")));

        ProgramDir dir;
        dir.writeIni("[web]\r\nAdresa=0.0.0.0\r\n");
        const Output open = program({QStringLiteral("--adresar"), dir.dir()});
        QCOMPARE(open.status, 2);
        QVERIFY(open.err.contains(QStringLiteral("adresa „0.0.0.0“ vyžaduje certifikát")));

        ProgramDir empty(false);
        const Output missing = program({QStringLiteral("--adresar"), empty.dir()});
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.startsWith(QStringLiteral("Nebyl nalezen soubor databáze")));

        const Output wrong = program({QStringLiteral("--adresar")});
        QCOMPARE(wrong.status, 2);
        QVERIFY(wrong.err.startsWith(QStringLiteral("Za volbou --adresar chybí adresář.")));
        QCOMPARE(program({QStringLiteral("--adresar"), dir.dir(), QStringLiteral("ucet")}).status, 2);

        // The account commands on the program directory's database.
        const Output listed = program(
            {QStringLiteral("--adresar"), dir.dir(), QStringLiteral("ucet"), QStringLiteral("seznam")});
        QCOMPARE(listed.status, 0);
        QCOMPARE(listed.out, QStringLiteral("Žádné účty.\n"));
    }

    // The program killed in the middle of writes (kill -9): every activity it acknowledged is
    // in the database afterwards, each once.
    void acknowledgedWritesOutliveAKill()
    {
        WebFixture f;
        f.seed();
        const QString password = QStringLiteral("Kotelna-Sever-2024");
        f.addAccount(QStringLiteral("novak"), QStringLiteral("technik"), 1, password);
        const int port = freePort();
        f.database.writeIni(QStringLiteral("[web]\r\nAdresa=127.0.0.1\r\nPort=%1\r\n").arg(port).toUtf8());
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QStringLiteral(VESTIBOR_WEB_PROGRAM),
                     {QStringLiteral("--adresar"), f.database.dir().dir()});
        QVERIFY(server.waitForStarted());
        httplib::Client client("127.0.0.1", port);
        const std::string host = "127.0.0.1:" + std::to_string(port);
        const httplib::Headers headers{{"Host", host}, {"Origin", "http://" + host}};
        for (int i = 0; i < 100 && !client.Get("/"); ++i)
            QThread::msleep(100);
        const auto signedIn =
            client.Post("/api/prihlaseni", headers,
                        QJsonDocument(QJsonObject{{QStringLiteral("login"), QStringLiteral("novak")},
                                                  {QStringLiteral("heslo"), password}})
                            .toJson()
                            .toStdString(),
                        "application/json");
        QVERIFY(signedIn && signedIn->status == 200);
        const std::string cookie = signedIn->get_header_value("Set-Cookie");
        httplib::Headers writing = headers;
        writing.emplace("Cookie", cookie.substr(0, cookie.find(';')));

        // Writes one after another until the program is gone; killed after the twentieth.
        QHash<QString, qint64> acknowledged;
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        for (int n = 0; n < 10000; ++n) {
            if (n == 20)
                ::kill(pid_t(server.processId()), SIGKILL);
            const QString id = WebFixture::requestId(n);
            const auto r =
                client.Post("/api/cinnosti", writing,
                            QJsonDocument(WebFixture::activityBody(1, today, id)).toJson().toStdString(),
                            "application/json");
            if (!r)
                break;
            QCOMPARE(r->status, 201);
            acknowledged.insert(id, QJsonDocument::fromJson(QByteArray::fromStdString(
                                        r->body))[QStringLiteral("cinnost")][QStringLiteral("id")]
                                        .toInteger());
        }
        server.waitForFinished(10000);
        QVERIFY(acknowledged.size() >= 20);
        for (auto a = acknowledged.cbegin(); a != acknowledged.cend(); ++a) {
            const ResultSet kept = f.connection.query(
                QStringLiteral("SELECT p.id_radku FROM web_prijato p CROSS JOIN cinnosti c WHERE "
                               "p.id_pozadavku = ? AND c.id = p.id_radku"),
                {a.key()});
            QCOMPARE(kept.rows.size(), 1);
            QCOMPARE(kept.rows[0][0].toLongLong(), a.value());
        }
        QCOMPARE(f.count(QStringLiteral("cinnosti")), f.count(QStringLiteral("web_prijato")));
    }

private:
    // A port of 127.0.0.1 nobody listens on now.
    static int freePort()
    {
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        socklen_t length = sizeof address;
        const bool bound = ::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                           getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        ::close(sock);
        return bound ? ntohs(address.sin_port) : 0;
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestWebCommands)
#include "tst_webcommands.moc"
