// Measures vestibor-web under the load of a firm's technicians, on a database made by
// vestibor_gendb (or a server database prepared from one):
//   vestibor_webbench [--clients 20] [--seconds 30] <database file>
//   vestibor_webbench [--clients 20] [--seconds 30] --server "<connection string>"
// The measured database is never changed: the server works on a copy of it. Each kind of
// request is also timed in-process, one at a time, without the network and the other clients.
#include "MeasuredDatabase.h"
#include "WebLoad.h"

#include "accounts/WebAccounts.h"
#include "helpers/AppError.h"
#include "helpers/CommandLine.h"
#include "helpers/IniFile.h"
#include "store/Connection.h"
#include "store/Schema.h"
#include "web/WebApp.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QUrl>
#include <QUuid>

#include <httplib.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char description[] =
    "Measures vestibor-web with many technicians at once on a database made by vestibor_gendb, or on a "
    "server database that vestibor_prepare --server ... --copy made from such a file. The measured "
    "database is never changed: the server works on a copy of it.";

const std::string login = "bench";
const std::string password = "Zkusebni-heslo-2026";

// A port nobody listens on now, as the system hands one out.
int freePort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (probe >= 0 && bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (probe >= 0)
        close(probe);
    if (port == 0)
        throw AppError(QStringLiteral("no free port"));
    return port;
}

void makeCertificate(const QString& directory)
{
    QProcess openssl;
    openssl.setWorkingDirectory(directory);
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                   "-keyout", "web.key", "-out", "web.crt"});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
        throw AppError(QStringLiteral("openssl could not make a certificate"));
}

// What the requests are made of: ids and texts taken from the database, so that each request
// finds something, as a technician's would.
struct Workload
{
    QList<qint64> customers, cards;
    QStringList towns, names, serials;
    qint64 activityKind = 0;
    int technician = 0;

    static Workload read(Connection& c)
    {
        Workload w;
        for (const auto& row :
             c.query(QStringLiteral("SELECT id, nazev FROM cis_zakaznici ORDER BY id")).rows) {
            if (w.customers.size() % 10 == 0)
                w.names << row[1].toString().section(u' ', 0, 0).toLower();
            w.customers << row[0].toLongLong();
        }
        for (const auto& row :
             c.query(QStringLiteral("SELECT id, vyrobni_cislo FROM topny_zdroj WHERE vyrazeno_dne IS NULL "
                                    "ORDER BY id"))
                 .rows) {
            w.cards << row[0].toLongLong();
            if (w.cards.size() % 20 == 0 && !row[1].toString().isEmpty())
                w.serials << row[1].toString().toLower();
        }
        for (const auto& row :
             c.query(QStringLiteral("SELECT DISTINCT mesto FROM cis_zakaznici WHERE mesto IS NOT "
                                    "NULL AND mesto <> '' ORDER BY mesto"))
                 .rows)
            w.towns << row[0].toString();
        w.activityKind =
            c.query(QStringLiteral("SELECT min(id) FROM cis_cinnost")).rows.value(0).value(0).toLongLong();
        w.technician =
            c.query(QStringLiteral("SELECT min(cislo) FROM cis_technici")).rows.value(0).value(0).toInt();
        if (w.customers.isEmpty() || w.cards.isEmpty() || w.towns.isEmpty() || w.names.isEmpty() ||
            w.serials.isEmpty() || !w.activityKind || !w.technician)
            throw AppError(QStringLiteral("the database lacks customers, cards, towns or code lists"));
        return w;
    }
};

std::string encoded(const QString& text)
{
    return QUrl::toPercentEncoding(text).toStdString();
}

QList<WebRequestKind> requestKinds(const Workload& w)
{
    const std::string today = QDate::currentDate().toString(Qt::ISODate).toStdString();
    const auto get = [](std::string* method, std::string* path, const std::string& to) {
        *method = "GET";
        *path = to;
    };
    return {
        {QStringLiteral("Search (name or serial)"), 50,
         [&w, get](int n, std::string* m, std::string* p, std::string*) {
             const QString text =
                 n % 4 == 0 ? w.serials[n / 4 % w.serials.size()] : w.names[n % w.names.size()];
             get(m, p, "/api/hledat?text=" + encoded(text));
         }},
        {QStringLiteral("Customer with cards"), 50,
         [&w, get](int n, std::string* m, std::string* p, std::string*) {
             get(m, p,
                 "/api/zakaznici/" + std::to_string(w.customers[qint64(n) * 7919 % w.customers.size()]));
         }},
        {QStringLiteral("Card with its history"), 50,
         [&w, get](int n, std::string* m, std::string* p, std::string*) {
             get(m, p, "/api/karty/" + std::to_string(w.cards[qint64(n) * 104729 % w.cards.size()]));
         }},
        {QStringLiteral("Due list of one town"), 50,
         [&w, get](int n, std::string* m, std::string* p, std::string*) {
             get(m, p, "/api/revize?mesto=" + encoded(w.towns[n % w.towns.size()]));
         }},
        {QStringLiteral("Record an activity"), 50,
         [&w, today](int n, std::string* m, std::string* p, std::string* body) {
             *m = "POST";
             *p = "/api/cinnosti";
             *body = "{\"id_pozadavku\":\"" +
                     QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString() +
                     "\",\"id_topneho_zdroje\":" + std::to_string(w.cards[qint64(n) * 31 % w.cards.size()]) +
                     ",\"datum\":\"" + today + "\",\"cinnost\":" + std::to_string(w.activityKind) +
                     ",\"cena_prace\":\"450.5\",\"poznamka\":\"měření\"}";
         }},
        {QStringLiteral("Whole due list"), 150,
         [get](int, std::string* m, std::string* p, std::string*) { get(m, p, "/api/revize"); }},
    };
}

struct InProcess
{
    double handled = 0;  // the request handled whole: the database and the JSON
    double database = 0; // its statements alone, as the database ran them
};

// The same request handled by the app in this process, one at a time: without the network,
// TLS and the other clients. Medians of the runs; `databaseMs` is what the app's connection
// tells of its statements' time.
InProcess inProcessMedians(WebApp& app, const WebRequestKind& kind, const std::string& cookie, int runs,
                           double& databaseMs)
{
    QList<double> times, database;
    for (int n = 0; n < runs; ++n) {
        std::string method, path, body;
        kind.make(n, &method, &path, &body);
        httplib::Request request;
        request.method = method;
        const size_t query = path.find('?');
        request.path = path.substr(0, query);
        if (query != std::string::npos) {
            const std::string pair = path.substr(query + 1);
            const size_t eq = pair.find('=');
            request.params.emplace(
                pair.substr(0, eq),
                QUrl::fromPercentEncoding(QByteArray::fromStdString(pair.substr(eq + 1))).toStdString());
        }
        request.headers = {{"Host", "127.0.0.1"}, {"Origin", "https://127.0.0.1"}, {"Cookie", cookie}};
        if (!body.empty())
            request.headers.emplace("Content-Type", "application/json");
        request.body = body;
        request.remote_addr = "127.0.0.1";
        httplib::Response response;
        databaseMs = 0;
        const auto start = std::chrono::steady_clock::now();
        app.handle(request, response);
        times << std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        database << databaseMs;
        if (response.status < 200 || response.status > 299)
            throw AppError(QStringLiteral("%1: status %2 in-process").arg(kind.name).arg(response.status));
    }
    return {WebLoad::percentile(times, 50), WebLoad::percentile(database, 50)};
}

QString memoryOf(qint64 pid, const char* key)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return QString::fromLatin1(line.mid(int(qstrlen(key)))).simplified();
    return QStringLiteral("?");
}

// "Na cestu" for the town with the most customers, once over HTTPS: its time and size against
// the target of a town of 300 customers with 2,000 cards (5 s).
void measureTrip(QTextStream& out, const WebLoadSettings& settings, const std::string& cookie,
                 Connection& connection)
{
    const ResultSet largest = connection.query(QStringLiteral(
        "SELECT z.mesto, count(DISTINCT z.id), count(t.id) FROM cis_zakaznici z LEFT JOIN "
        "topny_zdroj t ON t.id_zakaznika = z.id WHERE z.mesto IS NOT NULL GROUP BY z.mesto ORDER BY "
        "count(DISTINCT z.id) DESC LIMIT 1"));
    if (largest.isEmpty())
        return;
    const QString town = largest.rows[0][0].toString();
    std::string answer;
    const auto start = std::chrono::steady_clock::now();
    const int status =
        WebLoad::send(settings, cookie, "GET", "/api/na-cestu?mesto=" + encoded(town), {}, &answer);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    out << QStringLiteral(
               "\n\"Na cestu\" for %1 (%2 customers, %3 cards, their last 5 activities): status %4, "
               "%5 ms, %6 MB of JSON (target: 300 customers and 2,000 cards in < 5000 ms)\n")
               .arg(town)
               .arg(largest.rows[0][1].toInt())
               .arg(largest.rows[0][2].toInt())
               .arg(status)
               .arg(ms, 0, 'f', 0)
               .arg(double(answer.size()) / 1e6, 0, 'f', 2);
}

// Starts the process's peak of memory afresh from what it holds now; false where the system
// does not let it.
bool restartPeak(qint64 pid)
{
    QFile refs(QStringLiteral("/proc/%1/clear_refs").arg(pid));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    CommandLine commandLine(QString::fromUtf8(description), QStringLiteral("Displays this help."));
    QCommandLineParser& parser = commandLine.parser();
    const MeasuredDatabase measured(commandLine);
    const QCommandLineOption clientsOption = commandLine.addOption(
        QStringLiteral("clients"), QStringLiteral("Technicians at once (20)."), QStringLiteral("count"));
    const QCommandLineOption secondsOption = commandLine.addOption(
        QStringLiteral("seconds"), QStringLiteral("How long the load runs (30)."), QStringLiteral("seconds"));
    if (const std::optional<int> ended = commandLine.read(
            app.arguments(), [&](const QCommandLineParser& p) { return measured.problem(p); }))
        return *ended;

    QTemporaryDir work; // the program directory of the web app
    QProcess server;
    int status = 0;
    try {
        if (!work.isValid())
            throw AppError(QStringLiteral("cannot make a temporary directory"));
        const std::unique_ptr<WorkDatabase> database = measured.copy(parser, work.path());
        database->pointProgramAt(work.path());
        Connection connection(QStringLiteral("bench"));
        database->open(connection);
        Schema::upgrade(connection); // the web's tables, as the desktop's start-up makes them
        const Workload workload = Workload::read(connection);
        {
            WebAccounts accounts(connection);
            const QString once =
                accounts.add(QString::fromStdString(login), WebAccounts::RoleTechnician, workload.technician);
            accounts.changePassword(QString::fromStdString(login), once, QString::fromStdString(password));
        }

        WebLoadSettings settings;
        settings.port = freePort();
        settings.origin = "https://127.0.0.1:" + std::to_string(settings.port);
        settings.clients = parser.isSet(clientsOption) ? parser.value(clientsOption).toInt() : 20;
        settings.seconds = parser.isSet(secondsOption) ? parser.value(secondsOption).toInt() : 30;
        makeCertificate(work.path());
        IniFile(work.filePath(QStringLiteral("Vestibor.ini")))
            .write(QStringLiteral("web"), {{QStringLiteral("Adresa"), QStringLiteral("127.0.0.1")},
                                           {QStringLiteral("Port"), QString::number(settings.port)},
                                           {QStringLiteral("Certifikat"), QStringLiteral("web.crt")},
                                           {QStringLiteral("Klic"), QStringLiteral("web.key")}});
        server.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        server.setStandardErrorFile(work.filePath(QStringLiteral("web.log")));
        server.start(QStringLiteral(VESTIBOR_WEB_FILE), {QStringLiteral("--adresar"), work.path()});
        if (!server.waitForStarted())
            throw AppError(QStringLiteral("vestibor-web did not start"));
        std::string cookie;
        for (int i = 0; i < 100 && server.state() == QProcess::Running; ++i) {
            QThread::msleep(100);
            if (WebLoad::send(settings, {}, "GET", "/", {}) == 200)
                break;
        }

        out << "Measuring vestibor-web on " << database->description() << ": " << settings.clients
            << " clients for " << settings.seconds << " s\n";
        QList<double> signIns;
        QList<std::string> cookies;
        for (int i = 0; i < settings.clients; ++i) {
            double ms = 0;
            cookies << WebLoad::signIn(settings, login, password, &ms);
            signIns << ms;
            if (cookies.last().empty())
                throw AppError(QStringLiteral("the sign-in was refused"));
        }
        out << QStringLiteral("Sign-in (argon2id, one after another): median %1 ms, longest %2 ms\n")
                   .arg(WebLoad::percentile(signIns, 50), 0, 'f', 0)
                   .arg(WebLoad::percentile(signIns, 100), 0, 'f', 0);
        out.flush();

        // Argon2id takes 64 MiB for each sign-in on purpose: its peak is told apart, and the
        // load's own is measured from a new start.
        const QString signInPeak = memoryOf(server.processId(), "VmHWM:");
        const bool peakRestarted = restartPeak(server.processId());
        const QList<WebRequestKind> kinds = requestKinds(workload);
        const QList<WebKindResult> results = WebLoad::run(settings, cookies, kinds);
        const QString peak = memoryOf(server.processId(), "VmHWM:");

        WebOptions options;
        double databaseMs = 0;
        options.openDatabase = [&database, &databaseMs](Connection& c) {
            database->open(c);
            c.timeStatements([&databaseMs](double ms) { databaseMs += ms; });
        };
        options.settingsFile = work.filePath(QStringLiteral("Vestibor.ini"));
        WebApp inProcess(options);

        out << QStringLiteral("\n%1 %2 %3 %4 %5 %6 %7 %8 %9  %10\n")
                   .arg(QStringLiteral("request"), -26)
                   .arg(QStringLiteral("count"), 7)
                   .arg(QStringLiteral("failed"), 7)
                   .arg(QStringLiteral("p50 ms"), 8)
                   .arg(QStringLiteral("p95 ms"), 8)
                   .arg(QStringLiteral("max ms"), 8)
                   .arg(QStringLiteral("target"), 8)
                   .arg(QStringLiteral("alone ms"), 9)
                   .arg(QStringLiteral("database"), 9)
                   .arg(QStringLiteral("result"));
        for (int k = 0; k < results.size(); ++k) {
            const WebKindResult& r = results[k];
            const InProcess alone = inProcessMedians(inProcess, kinds[k], cookies.first(), 20, databaseMs);
            const bool ok = r.failures == 0 && r.count > 0 && r.p95 <= r.targetP95Ms;
            if (!ok)
                status = 4;
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9  %10\n")
                       .arg(r.name, -26)
                       .arg(r.count, 7)
                       .arg(r.failures, 7)
                       .arg(r.p50, 8, 'f', 1)
                       .arg(r.p95, 8, 'f', 1)
                       .arg(r.max, 8, 'f', 1)
                       .arg(QStringLiteral("<= %1").arg(r.targetP95Ms), 8)
                       .arg(alone.handled, 9, 'f', 2)
                       .arg(alone.database, 9, 'f', 2)
                       .arg(ok ? QStringLiteral("OK") : QStringLiteral("SLOW"));
            for (auto f = r.failedStatuses.cbegin(); f != r.failedStatuses.cend(); ++f)
                out << QStringLiteral("    failed with status %1: %2\n").arg(f.key()).arg(f.value());
        }
        const double peakMb = peak.section(u' ', 0, 0).toDouble() / 1024.0;
        if (peakMb >= 100)
            status = 4;
        out << QStringLiteral(
                   "\nvestibor-web's memory at its peak under the load: %1 MB (target < 100 MB)%2\n")
                   .arg(peakMb, 0, 'f', 1)
                   .arg(peakRestarted ? QString() : QStringLiteral(", the sign-ins included"));
        out << QStringLiteral("vestibor-web's memory at its peak during the sign-ins: %1 MB\n")
                   .arg(signInPeak.section(u' ', 0, 0).toDouble() / 1024.0, 0, 'f', 1);
        out << "p95 over all clients; 'alone' is the median of the same request handled in-process, one at a "
               "time, without the network; 'database' the median of its statements' own time in it, as the "
               "database ran them.\n";
        measureTrip(out, settings, cookies.first(), connection);
    } catch (const std::exception& e) {
        QTextStream(stderr) << "vestibor_webbench: " << e.what() << "\n";
        status = 1;
    }
    if (server.state() == QProcess::Running) {
        server.terminate();
        server.waitForFinished(10000);
    }
    return status;
}
