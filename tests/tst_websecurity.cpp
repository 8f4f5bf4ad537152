#include "accounts/WebAccounts.h"
#include "support/TestMain.h"
#include "support/WebFixture.h"
#include "web/RequestLog.h"
#include "web/RouteTable.h"
#include "web/Sessions.h"
#include "web/SignInThrottle.h"
#include "web/StoredTime.h"

#include <QJsonArray>

// The web app's guards: the authorization table, sessions, cross-site writes, sign-in
// throttling, the headers of every answer, the body limit and the audit rows.
class TestWebSecurity : public QObject
{
    Q_OBJECT

private:
    // A body each route accepts or refuses only for its content (an activity of today).
    static QJsonObject bodyFor(const Route& route, int n)
    {
        const QString path = QLatin1String(route.pattern);
        if (path == u"/api/cinnosti/#")
            return {{QStringLiteral("id_pozadavku"), WebFixture::requestId(n)}};
        if (path == u"/api/cinnosti")
            return WebFixture::activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(n));
        return {};
    }

    static QString pathOf(const Route& route)
    {
        return QString::fromLatin1(route.pattern).replace(u'#', u'1');
    }

private slots:
    void everyRouteIsGuardedByTheTable()
    {
        WebFixture f;
        f.seed();
        // Each call gets a session of its own: signing out ends one.
        const qint64 technician = f.addAccount(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const qint64 office = f.addAccount(QStringLiteral("kancl"), QStringLiteral("kancelar"), 0);
        const qint64 oneTime =
            f.addAccount(QStringLiteral("novy"), QStringLiteral("technik"), 2, QString(), true);
        // Who may do what: signing in is open, the account and the password change need a
        // session, everything else a password of one's own; both roles everywhere, the
        // owner rule on corrections.
        const QStringList designed{"POST /api/prihlaseni anyone both",
                                   "POST /api/odhlaseni signed-in both",
                                   "POST /api/heslo signed-in both",
                                   "GET /api/ucet signed-in both",
                                   "GET /api/ciselniky own-password both",
                                   "GET /api/revize own-password both",
                                   "GET /api/hledat own-password both",
                                   "GET /api/zakaznici/# own-password both",
                                   "GET /api/karty/# own-password both",
                                   "GET /api/na-cestu own-password both",
                                   "POST /api/karty own-password both",
                                   "POST /api/cinnosti own-password both",
                                   "PUT /api/cinnosti/# own-password both own-of-today"};
        QStringList listed;
        int n = 0;
        for (const Route& route : RouteTable::routes()) {
            const char* access[]{"anyone", "signed-in", "own-password"};
            listed << QStringLiteral("%1 %2 %3 %4%5")
                          .arg(QLatin1String(route.method), QLatin1String(route.pattern),
                               QLatin1String(access[int(route.access)]),
                               QLatin1String(route.technician && route.office ? "both"
                                             : route.office                   ? "kancelar"
                                                                              : "technik"),
                               QLatin1String(route.owner == OwnerRule::OwnActivityOfToday ? " own-of-today"
                                                                                          : ""));
            const auto call = [&](qint64 account) {
                const QString token = account ? f.sessionOf(account) : QString();
                return route.writes ? f.write(route.method, pathOf(route), bodyFor(route, ++n), token)
                                    : f.get(pathOf(route), token);
            };
            const QByteArray what = QByteArray(route.method) + ' ' + route.pattern;
            // Without a session.
            const int anonymous = call(0).status;
            if (route.access == RouteAccess::Anyone)
                QVERIFY2(anonymous != 401 && anonymous != 403, what);
            else
                QVERIFY2(anonymous == 401, what);
            // A one-time password that was not changed yet.
            const int unchanged = call(oneTime).status;
            if (route.access == RouteAccess::PasswordKept)
                QVERIFY2(unchanged == 403, what);
            else
                QVERIFY2(unchanged != 401 && unchanged != 403, what);
            // Each role.
            for (const auto& [account, allowed] :
                 {std::pair{technician, route.technician}, std::pair{office, route.office}}) {
                const int status = call(account).status;
                QVERIFY2(allowed ? status != 401 && status != 403 : status == 403, what);
            }
            // A write from elsewhere.
            if (route.writes) {
                const auto r = f.send(route.method, pathOf(route), "{}",
                                      {{"Host", WebFixture::Host},
                                       {"Origin", "https://jinde.example"},
                                       {"Content-Type", "application/json"},
                                       {"Cookie", WebFixture::cookieOf(f.sessionOf(office))}});
                QVERIFY2(r.status == 403, what);
            }
        }
        QCOMPARE(listed, designed);
        // An unknown path and a known path with another method.
        const QString token = f.sessionOf(office);
        QCOMPARE(f.get(QStringLiteral("/api/nic"), token).status, 404);
        QCOMPARE(f.get(QStringLiteral("/api/cinnosti"), token).status, 405);
        QCOMPARE(f.get(QStringLiteral("/api/karty/abc"), token).status, 404);
    }

    // A technician corrects his own activities of today only; the office any.
    void theOwnerRuleOfCorrections()
    {
        WebFixture f;
        f.seed();
        const QString novak = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const QString svoboda = f.signedIn(QStringLiteral("svoboda"), QStringLiteral("technik"), 2);
        const QString office = f.signedIn(QStringLiteral("kancl"), QStringLiteral("kancelar"), 0);
        const auto record = [&](const QString& date, int n) { return f.addActivity(1, n, novak, date); };
        const auto first = record(QStringLiteral("2024-03-15"), 1);
        const auto second = record(QStringLiteral("2024-03-14"), 2);
        QCOMPARE(first.status, 201);
        QCOMPARE(second.status, 201);
        const QJsonObject today = first.json.value(QStringLiteral("cinnost")).toObject();
        const QJsonObject yesterday = second.json.value(QStringLiteral("cinnost")).toObject();
        int n = 10;
        const auto correct = [&](const QJsonObject& row, const QString& token, const QString& date,
                                 int technician = 0) {
            QJsonObject changed = f.activityBody(1, date, QString());
            changed.insert(QStringLiteral("poznamka"), QStringLiteral("Opraveno"));
            if (technician)
                changed.insert(QStringLiteral("technik"), technician);
            return f
                .write("PUT",
                       QStringLiteral("/api/cinnosti/%1").arg(row.value(QStringLiteral("id")).toInteger()),
                       {{QStringLiteral("id_pozadavku"), WebFixture::requestId(++n)},
                        {QStringLiteral("puvodni"), row},
                        {QStringLiteral("cinnost"), changed}},
                       token)
                .status;
        };
        QCOMPARE(correct(today, svoboda, QStringLiteral("2024-03-15")), 403);
        QCOMPARE(correct(yesterday, novak, QStringLiteral("2024-03-14")), 403);
        QCOMPARE(correct(today, novak, QStringLiteral("2024-03-14")), 403); // moved off today
        QCOMPARE(
            f.connection.query(QStringLiteral("SELECT count(*) FROM cinnosti WHERE poznamka = 'Opraveno'"))
                .rows[0][0]
                .toInt(),
            0);
        QCOMPARE(correct(today, novak, QStringLiteral("2024-03-15")), 200);
        QCOMPARE(correct(yesterday, office, QStringLiteral("2024-03-14"), 2), 200);
        // The card tells the app which rows each may correct.
        const auto rows = [&](const QString& token) {
            QList<bool> may;
            for (const QJsonValue& a :
                 f.get(QStringLiteral("/api/karty/1"), token).json[QStringLiteral("cinnosti")].toArray())
                may << a[QStringLiteral("lze_opravit")].toBool();
            return may;
        };
        QCOMPARE(rows(novak), (QList<bool>{true, false}));
        QCOMPARE(rows(svoboda), (QList<bool>{false, false}));
        QCOMPARE(rows(office), (QList<bool>{true, true}));
    }

    // Sessions: the cookie's attributes, only a hash stored, twelve hours, sign-out and
    // blocking end them.
    void sessionsEndAsTheyShould()
    {
        WebFixture f;
        f.seed();
        const qint64 id = f.addAccount(QStringLiteral("novak"), QStringLiteral("technik"), 1,
                                       QStringLiteral("Kotel-na-pude-7"));
        // The token from the cookie of a sign-in (empty when it failed).
        const auto signIn = [&] {
            const auto r = f.write("POST", QStringLiteral("/api/prihlaseni"),
                                   {{QStringLiteral("login"), QStringLiteral("Novak")},
                                    {QStringLiteral("heslo"), QStringLiteral("Kotel-na-pude-7")}});
            const std::string cookie = r.header("Set-Cookie");
            const QString token = r.status == 200 ? QString::fromStdString(cookie.substr(16, 43)) : QString();
            return std::pair{token, cookie};
        };
        const auto [token, cookie] = signIn();
        QVERIFY(!token.isEmpty());
        QCOMPARE(cookie,
                 "__Host-vestibor=" + token.toStdString() + "; Path=/; Secure; HttpOnly; SameSite=Strict");
        QCOMPARE(
            f.connection.query(QStringLiteral("SELECT token_hash FROM web_relace")).rows[0][0].toString(),
            Sessions::hashOf(token));
        QVERIFY(Sessions::hashOf(token) != token);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token)
                     .json[QStringLiteral("ucet")][QStringLiteral("login")]
                     .toString(),
                 QStringLiteral("novak"));
        // Twelve hours, whatever the use meanwhile; the session notes when it was last seen.
        const auto lastSeen = [&] {
            return f.connection.query(QStringLiteral("SELECT naposledy FROM web_relace")).rows[0][0];
        };
        const QVariant signedIn = lastSeen();
        f.now = f.now.addSecs(Sessions::SeenEverySeconds - 1);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token).status, 200);
        QCOMPARE(lastSeen(), signedIn);
        f.now = f.now.addSecs(1);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token).status, 200);
        QCOMPARE(StoredTime::fromStored(lastSeen()), f.now);
        f.now = f.now.addSecs(12 * 3600 - Sessions::SeenEverySeconds - 1);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token).status, 200);
        f.now = f.now.addSecs(1);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token).status, 401);
        // Signing out.
        const QString second = signIn().first;
        QVERIFY(!second.isEmpty() && second != token);
        const auto out = f.write("POST", QStringLiteral("/api/odhlaseni"), {}, second);
        QCOMPARE(out.status, 200);
        QVERIFY(out.header("Set-Cookie").find("Max-Age=0") != std::string::npos);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), second).status, 401);
        // Blocking.
        const QString third = signIn().first;
        f.connection.execute(QStringLiteral("UPDATE web_ucty SET aktivni = ? WHERE id = ?"), {false, id});
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), third).status, 401);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), QStringLiteral("A").repeated(43)).status, 401);
    }

    // A one-time password opens only the change of the password; the change keeps this
    // session and ends the others; a new one-time password from the office ends them all.
    void aOneTimePasswordMustBeChangedFirst()
    {
        WebFixture f;
        f.seed();
        WebAccounts accounts(f.connection);
        const QString oneTime = accounts.add(QStringLiteral("Novak"), QStringLiteral("technik"), 1);
        const auto signIn = [&](const QString& password) {
            const auto r = f.write(
                "POST", QStringLiteral("/api/prihlaseni"),
                {{QStringLiteral("login"), QStringLiteral("novak")}, {QStringLiteral("heslo"), password}});
            return r.status == 200 ? QString::fromStdString(r.header("Set-Cookie").substr(16, 43))
                                   : QString();
        };
        const QString token = signIn(oneTime);
        const QString other = signIn(oneTime);
        QVERIFY(!token.isEmpty() && !other.isEmpty());
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token)
                     .json[QStringLiteral("ucet")][QStringLiteral("zmenit_heslo")],
                 QJsonValue(true));
        const auto refused = f.get(QStringLiteral("/api/revize"), token);
        QCOMPARE(refused.status, 403);
        QCOMPARE(refused.error(), QStringLiteral("Nejprve si změňte jednorázové heslo."));
        const auto change = [&](const QString& current, const QString& next) {
            return f.write("POST", QStringLiteral("/api/heslo"),
                           {{QStringLiteral("heslo"), current}, {QStringLiteral("nove_heslo"), next}}, token);
        };
        const auto wrong = change(QStringLiteral("nespravne-heslo"), QStringLiteral("Kotel-na-pude-7"));
        QCOMPARE(wrong.status, 400);
        QCOMPARE(wrong.json[QStringLiteral("pole")].toString(), QStringLiteral("heslo"));
        const auto weak = change(oneTime, QStringLiteral("kratke"));
        QCOMPARE(weak.status, 400);
        QCOMPARE(weak.json[QStringLiteral("pole")].toString(), QStringLiteral("nove_heslo"));
        QCOMPARE(f.get(QStringLiteral("/api/revize"), token).status, 403);
        const auto changed = change(oneTime, QStringLiteral("Kotel-na-pude-7"));
        QCOMPARE(changed.status, 200);
        QCOMPARE(changed.json[QStringLiteral("ucet")][QStringLiteral("zmenit_heslo")], QJsonValue(false));
        QCOMPARE(f.get(QStringLiteral("/api/revize"), token).status, 200);
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), other).status, 401);
        QVERIFY(signIn(oneTime).isEmpty());
        // The office hands out a new one-time password: every session ends.
        accounts.setOneTimePassword(QStringLiteral("novak"));
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token).status, 401);
    }

    // The log line: no query, no control characters of the client's, the account by id.
    void theLogLineShowsNoPersonalData()
    {
        QCOMPARE(RequestLog::line(QStringLiteral("GET"), QStringLiteral("/api/hledat?text=Novák"), 200, 3, 5),
                 QStringLiteral("GET /api/hledat 200 3 ms ucet=5"));
        QCOMPARE(RequestLog::line(QStringLiteral("POST"), QStringLiteral("/x\n\x1b[31m"), 404, 0, 0),
                 QStringLiteral("POST /x??[31m 404 0 ms ucet=-"));
    }

    // Writes only from the app itself: a form of another site gets 403, another type 415,
    // and nothing is written.
    void crossSiteWritesAreRefused()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const std::string form =
            "id_pozadavku=pozadavek-000001-000000&id_topneho_zdroje=1&datum=2024-03-15&cinnost=1";
        const auto post = [&](httplib::Headers headers, const std::string& body) {
            headers.emplace("Host", WebFixture::Host);
            headers.emplace("Cookie", WebFixture::cookieOf(token));
            return f.send("POST", QStringLiteral("/api/cinnosti"), body, headers).status;
        };
        QCOMPARE(
            post({{"Origin", "https://zly.example"}, {"Content-Type", "application/x-www-form-urlencoded"}},
                 form),
            403);
        QCOMPARE(post({{"Content-Type", "application/json"}}, "{}"), 403);
        QCOMPARE(post({{"Origin", "http://vestibor.test"}, {"Content-Type", "application/json"}}, "{}"), 403);
        QCOMPARE(post({{"Origin", "https://vestibor.test"}, {"Content-Type", "text/plain"}}, "{}"), 415);
        QCOMPARE(post({{"Origin", "https://vestibor.test"}, {"Content-Type", "application/jsonp"}}, "{}"),
                 415);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 0);
        QCOMPARE(f.count(QStringLiteral("web_prijato")), 0);
    }

    // After five failures the sixth try waits even with the right password; the wait
    // doubles; one message for a wrong login or password; every step in the audit.
    void signInIsThrottled()
    {
        WebFixture f;
        f.seed();
        f.addAccount(QStringLiteral("novak"), QStringLiteral("technik"), 1,
                     QStringLiteral("Kotel-na-pude-7"));
        const auto signIn = [&](const QString& login, const QString& password) {
            return f.write("POST", QStringLiteral("/api/prihlaseni"),
                           {{QStringLiteral("login"), login}, {QStringLiteral("heslo"), password}});
        };
        const auto wrong = signIn(QStringLiteral("novak"), QStringLiteral("spatne-heslo"));
        QCOMPARE(wrong.status, 401);
        QCOMPARE(wrong.error(), QStringLiteral("Nesprávné přihlašovací jméno nebo heslo."));
        QCOMPARE(signIn(QStringLiteral("nikdo"), QStringLiteral("spatne-heslo")).error(), wrong.error());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(signIn(QStringLiteral("novak"), QStringLiteral("spatne-heslo")).status, 401);
        // Five from this address: the sixth waits, right password or not.
        QCOMPARE(signIn(QStringLiteral("novak"), QStringLiteral("Kotel-na-pude-7")).status, 429);
        f.now = f.now.addSecs(SignInThrottle::FirstWaitSeconds);
        QCOMPARE(signIn(QStringLiteral("novak"), QStringLiteral("spatne-heslo")).status, 401);
        // The wait doubled.
        f.now = f.now.addSecs(SignInThrottle::FirstWaitSeconds);
        QCOMPARE(signIn(QStringLiteral("novak"), QStringLiteral("Kotel-na-pude-7")).status, 429);
        f.now = f.now.addSecs(SignInThrottle::FirstWaitSeconds);
        QCOMPARE(signIn(QStringLiteral("novak"), QStringLiteral("Kotel-na-pude-7")).status, 200);

        const auto events = [&](const QString& event) {
            return f.connection
                .query(QStringLiteral("SELECT count(*) FROM web_audit WHERE udalost = ?"), {event})
                .rows[0][0]
                .toInt();
        };
        QCOMPARE(events(QStringLiteral("neuspesne_prihlaseni")), 6);
        QCOMPARE(events(QStringLiteral("zablokovano_pokusy")), 2);
        QCOMPARE(events(QStringLiteral("prihlaseni")), 1);
        // The throttle counts per account too, whatever the address.
        SignInThrottle throttle;
        for (int i = 0; i < SignInThrottle::FreeFailures - 1; ++i)
            QVERIFY(!throttle.failed(QStringLiteral("ucet:x"), f.now));
        QVERIFY(throttle.failed(QStringLiteral("ucet:x"), f.now));
        QCOMPARE(throttle.secondsToWait(QStringLiteral("ucet:x"), f.now), SignInThrottle::FirstWaitSeconds);
        for (int i = 0; i < 10; ++i)
            throttle.failed(QStringLiteral("ucet:x"), f.now);
        QCOMPARE(throttle.secondsToWait(QStringLiteral("ucet:x"), f.now), SignInThrottle::LongestWaitSeconds);
    }

    // Every answer carries the security headers: a page, an API answer, a missing one, an
    // error of the server.
    void everyAnswerCarriesTheSecurityHeaders()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const auto check = [](const WebFixture::Reply& r, bool api) {
            QCOMPARE(
                r.header("Content-Security-Policy"),
                "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' "
                "data:; connect-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'self'");
            QCOMPARE(r.header("X-Content-Type-Options"), "nosniff");
            QCOMPARE(r.header("Referrer-Policy"), "no-referrer");
            QCOMPARE(r.header("Strict-Transport-Security"), "max-age=31536000");
            if (api)
                QCOMPARE(r.header("Cache-Control"), "no-store");
            QVERIFY(!r.response.has_header("Server"));
        };
        const auto page = f.get(QStringLiteral("/"));
        QCOMPARE(page.status, 200);
        QCOMPARE(page.header("Content-Type"), "text/html; charset=utf-8");
        QCOMPARE(page.header("Cache-Control"), "no-cache");
        check(page, false);
        QCOMPARE(f.get(QStringLiteral("/")).status, 200);
        const auto again = f.send("GET", QStringLiteral("/"), {}, {{"If-None-Match", page.header("ETag")}});
        QCOMPARE(again.status, 304);
        check(f.get(QStringLiteral("/api/ucet"), token), true);
        const auto missing = f.get(QStringLiteral("/api/nic"), token);
        QCOMPARE(missing.status, 404);
        check(missing, true);
        check(f.get(QStringLiteral("/nic.html")), false);
        // The barcode reader, fetched only when the camera opens: its script, and its
        // WebAssembly as such, which the browser compiles only with that type.
        const auto reader = f.get(QStringLiteral("/vendor/zxing_reader.wasm"));
        QCOMPARE(reader.status, 200);
        QCOMPARE(reader.header("Content-Type"), "application/wasm");
        QVERIFY(reader.response.body.rfind(std::string("\0asm", 4), 0) == 0);
        check(reader, false);
        const auto detector = f.get(QStringLiteral("/vendor/barcode-detector.js"));
        QCOMPARE(detector.status, 200);
        QCOMPARE(detector.header("Content-Type"), "text/javascript; charset=utf-8");
        QVERIFY(detector.response.body.find("setZXingModuleOverrides") != std::string::npos);
        f.clockFails = true;
        const auto failed = f.get(QStringLiteral("/api/ucet"), token);
        QCOMPARE(failed.status, 500);
        QCOMPARE(failed.error(), QStringLiteral("Na serveru nastala chyba."));
        check(failed, true);
    }

    void aBodyOverTheLimitIsRefused()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        QJsonObject body = f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(1));
        body.insert(QStringLiteral("poznamka"), QString(int(WebApp::LargestBody), u'x'));
        const auto r = f.write("POST", QStringLiteral("/api/cinnosti"), body, token);
        QCOMPARE(r.status, 413);
        QCOMPARE(r.header("X-Content-Type-Options"), "nosniff");
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 0);
        body.insert(QStringLiteral("poznamka"), QString(int(WebApp::LargestBody) - 400, u'x'));
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), body, token).status, 201);
    }

    // The audit has every sign-in, write and correction, with the row before and after, and
    // never a password or a token.
    void theAuditHoldsNoSecrets()
    {
        WebFixture f;
        f.seed();
        f.addAccount(QStringLiteral("novak"), QStringLiteral("technik"), 1,
                     QStringLiteral("Kotel-na-pude-7"));
        const auto in = f.write("POST", QStringLiteral("/api/prihlaseni"),
                                {{QStringLiteral("login"), QStringLiteral("novak")},
                                 {QStringLiteral("heslo"), QStringLiteral("Kotel-na-pude-7")}});
        const QString token = QString::fromStdString(in.header("Set-Cookie").substr(16, 43));
        const auto written = f.addActivity(1, 1, token);
        QCOMPARE(written.status, 201);
        QJsonObject changed = f.activityBody(1, QStringLiteral("2024-03-15"), QString());
        changed.insert(QStringLiteral("cena_prace"), QStringLiteral("99"));
        QCOMPARE(f.write("PUT", QStringLiteral("/api/cinnosti/1"),
                         {{QStringLiteral("id_pozadavku"), WebFixture::requestId(2)},
                          {QStringLiteral("puvodni"), written.json[QStringLiteral("cinnost")]},
                          {QStringLiteral("cinnost"), changed}},
                         token)
                     .status,
                 200);
        f.write("POST", QStringLiteral("/api/odhlaseni"), {}, token);

        const ResultSet audit = f.connection.query(
            QStringLiteral("SELECT udalost, tabulka, id_radku, pred, po, adresa FROM web_audit ORDER BY id"));
        QStringList events;
        for (const auto& row : audit.rows) {
            events << row[0].toString();
            for (const QVariant& v : row) {
                QVERIFY(!v.toString().contains(QStringLiteral("Kotel-na-pude-7")));
                QVERIFY(!v.toString().contains(token));
            }
            QCOMPARE(row[5].toString(), QStringLiteral("192.0.2.10"));
        }
        QCOMPARE(events, (QStringList{"prihlaseni", "zapis", "oprava", "odhlaseni"}));
        const auto& correction = audit.rows[2];
        QCOMPARE(correction[1].toString(), QStringLiteral("cinnosti"));
        QCOMPARE(correction[2].toInt(), 1);
        QVERIFY(correction[3].toString().contains(QStringLiteral("\"cena_prace\":\"1250.5\"")));
        QVERIFY(correction[4].toString().contains(QStringLiteral("\"cena_prace\":\"99\"")));
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestWebSecurity)
#include "tst_websecurity.moc"
