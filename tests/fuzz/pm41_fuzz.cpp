// A libFuzzer target for the report generator, beside the fuzz test in tst_pm41: each input
// is the bytes of a template file. It is read and, when it loads, run on an in-memory
// database made from the program's schema with a few rows. A template that is refused must
// name one of its lines; anything else aborts, and so does a crash. Clang only, built only
// when asked for:
//
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVESTIBOR_LIBFUZZER=ON \
//         -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
//   cmake --build build-fuzz --target pm41_fuzz
//   mkdir -p /tmp/korpus && build-fuzz/tests/pm41_fuzz -max_total_time=600 /tmp/korpus tests/fuzz
//   pm41/templates
#include "ReportEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace pm41;

namespace {

// The program registers its collations (czech, caseless) on each connection; any order does
// here.
int anyOrder(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const int common = std::min(lengthA, lengthB);
    const int c = std::memcmp(a, b, size_t(common));
    return c != 0 ? c : lengthA - lengthB;
}

void execOrDie(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        std::fprintf(stderr, "pm41_fuzz: %s\n%s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        std::abort();
    }
}

QSqlDatabase openDatabase()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open())
        std::abort();
    auto* handle = *static_cast<sqlite3* const*>(db.driver()->handle().constData());
    for (const char* collation : {"czech", "caseless"})
        sqlite3_create_collation(handle, collation, SQLITE_UTF8, nullptr, anyOrder);

    QFile schema(QStringLiteral(VESTIBOR_SCHEMA));
    if (!schema.open(QIODevice::ReadOnly))
        std::abort();
    QString text = QString::fromUtf8(schema.readAll());
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    for (const QString& part : text.split(u';'))
        if (!part.trimmed().isEmpty() && !part.contains(QStringLiteral("journal_mode")))
            execOrDie(db, part);
    execOrDie(db, QStringLiteral("INSERT INTO cis_zakaznici (id, nazev, ulice, psc, mesto, hlidani_revizi) "
                                 "VALUES (1, 'Čech', 'Dlouhá 5', '602 00', 'Brno', 1), (2, 'Horák', NULL, "
                                 "NULL, NULL, 0)"));
    execOrDie(
        db, QStringLiteral("INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, kategorie) VALUES (1, 1, "
                           "'Kotel', 'T1', 1), (2, 2, 'Krb', 'T2', 1)"));
    execOrDie(db, QStringLiteral("INSERT INTO cinnosti (id_topneho_zdroje, id_zakaznika, cinnost, datum, "
                                 "datum_pristi, cena_prace) VALUES (1, 1, 1, date('now', '-10 days'), "
                                 "date('now', '+20 days'), 1250.5), (2, 2, 1, date('now', '-400 days'), "
                                 "date('now', '-35 days'), -0.005)"));
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "pm41_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static QSqlDatabase db = openDatabase();
    static UserData user;
    static const bool userRead =
        parseParameterText(
            QStringLiteral("NazevSubjektu|Topservis|OdpovednaOsoba||Ulice||PSC||Mesto||ICO||DIC||Tel||Email||"
                           "WWW||OtevrenyZakaznik|1"),
            user)
            .isEmpty();
    if (!userRead)
        std::abort();

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const QRegularExpression lined(QStringLiteral("^Řádek (\\d+): "));
    const auto check = [&](const QString& error) {
        const QRegularExpressionMatch m = lined.match(error);
        const int line = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (!error.isEmpty() && (line < 1 || line > bytes.count('\n') + 1)) {
            std::fprintf(stderr, "pm41_fuzz: %s\n", qPrintable(error));
            std::abort();
        }
        return error.isEmpty();
    };
    Template t;
    if (check(parseTemplateBytes(bytes, t))) {
        ReportData report;
        // What the revision plan hands the reminder letters.
        static const ParameterValues fromProgram{{QStringLiteral("Zdroje"), QStringLiteral("1,2")}};
        check(runReport(t, user, fromProgram, db, report));
    }
    return 0;
}
