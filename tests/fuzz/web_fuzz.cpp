// A libFuzzer target for the web app, beside the fuzz test tst_webfuzz: each input is a
// request, its first line the method and the path (with a query), the rest its body. It is
// handed to the app as the socket server would, signed in as the office, on a database file
// made from the schema with a few rows. An answer of 500 or 503 aborts, and so does a crash.
// Clang only, built only when asked for:
//
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVESTIBOR_LIBFUZZER=ON
//         -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
//   cmake --build build-fuzz --target web_fuzz
//   mkdir -p /tmp/korpus-web && build-fuzz/tests/web_fuzz -max_total_time=600 /tmp/korpus-web tests/fuzz/web
#include "store/Connection.h"
#include "store/Schema.h"
#include "web/Sessions.h"
#include "web/WebApp.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Setup
{
    Setup()
    {
        Schema::createDatabaseFile(path);
        Connection c(QStringLiteral("web-fuzz-setup"));
        c.open(path);
        for (const char* sql :
             {"INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (1, 'Novák Jan')",
              "INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Kotle', 12)",
              "INSERT INTO cis_cinnost (nazev_cinnosti) VALUES ('Revize')",
              "INSERT INTO cis_zakaznici (nazev, mesto, hlidani_revizi) VALUES ('Novák', 'Brno', 1)",
              "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, vyrobni_cislo, kategorie, lhuta) VALUES "
              "(1, 'Kotel', 'K', 'SN-1', 1, 12)",
              "INSERT INTO web_ucty (login, role, technik, heslo, aktivni, zmenit_heslo, vytvoreno) VALUES "
              "('kancl', 'kancelar', NULL, '-', 1, 0, '2024-01-01 00:00:00')"})
            c.execute(QString::fromUtf8(sql));
        cookie = "__Host-vestibor=" + Sessions::start(c, 1, QDateTime::currentDateTimeUtc()).toStdString();
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Vestibor.mdb"));
    std::string cookie;
    WebApp app{[this] {
        WebOptions o;
        o.openDatabase = [this](Connection& c) { c.open(path); };
        o.settingsFile = dir.filePath(QStringLiteral("Vestibor.ini"));
        return o;
    }()};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "web_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static Setup setup;

    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = input.find('\n');
    const std::string line = input.substr(0, lineEnd);
    const size_t space = line.find(' ');
    httplib::Request request;
    request.method = line.substr(0, space);
    const std::string target = space == std::string::npos ? "/" : line.substr(space + 1);
    const size_t query = target.find('?');
    request.path = target.substr(0, query);
    if (query != std::string::npos)
        request.params.emplace("text", target.substr(query + 1));
    request.body = lineEnd == std::string::npos ? std::string() : input.substr(lineEnd + 1);
    request.headers = {{"Host", "vestibor.test"},
                       {"Origin", "https://vestibor.test"},
                       {"Content-Type", "application/json"},
                       {"Cookie", setup.cookie}};
    httplib::Response response;
    setup.app.handle(request, response);
    if (response.status >= 500) {
        std::fprintf(stderr, "%d for %s %s\n", response.status, request.method.c_str(), request.path.c_str());
        std::abort();
    }
    return 0;
}
