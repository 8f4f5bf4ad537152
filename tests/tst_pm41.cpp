// The report generator PM41: the parameter text, the templates, running and painting the
// shipped reports on a small database, money shown exactly, letters, damaged templates (a
// fuzz test), the window behind SestavaUNI and the preview behind pm41PreviewTemplate. Everything
// runs on the database file and on the server, with the same results.
#include "PM41.h"
#include "ReportEngine.h"
#include "store/Connection.h"
#include "store/Transaction.h"
#include "support/FindChild.h"
#include "support/ProgramDir.h"
#include "support/TemplateMutator.h"
#include "support/TestMain.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <limits>

using namespace pm41;
using namespace Qt::StringLiterals;

namespace {

// A day from today, as stored and as printed.
QString day(int offset, const QString& format = u"yyyy-MM-dd"_s)
{
    return QDate::currentDate().addDays(offset).toString(format);
}

QString shown(int offset)
{
    return day(offset, u"d.M.yyyy"_s);
}

QString parameterText(qint64 customer)
{
    return u"NazevSubjektu|Topservis s.r.o.|OdpovednaOsoba|Jan Novák|Ulice|Dlouhá 1|PSC|602 00|"
           "Mesto|Brno|ICO|12345678|DIC||Tel||Email|servis@topservis.cz|WWW||OtevrenyZakaznik|%1"_s.arg(
               customer);
}

bool onServer()
{
    return currentTestEngine() == TestEngine::Server;
}

// How the database says that a table or a column is missing.
QString missingTable(const QString& table)
{
    return onServer() ? u"relation \"%1\" does not exist"_s.arg(table) : u"no such table: %1"_s.arg(table);
}

QString missingColumn(const QString& column)
{
    return onServer() ? u"column \"%1\" does not exist"_s.arg(column) : u"no such column: %1"_s.arg(column);
}

// One column of a report as printed.
QStringList column(const ReportData& data, int c)
{
    QStringList cells;
    for (const ReportRow& row : data.rows)
        cells << row.cells.value(c);
    return cells;
}

// A template that loads; tests put their fault into it.
const QString goodTemplate = u"[sestava]\n"                      // 1
                             "nazev = Test\n"                    // 2
                             "[dotaz]\n"                         // 3
                             "SELECT nazev FROM cis_zakaznici\n" // 4
                             "[sloupec nazev]\n"                 // 5
                             "titulek = Název\n"_s;              // 6

// The good template with one piece of its text replaced; an empty `from` appends `to`.
QString changed(const QString& from, const QString& to)
{
    return from.isEmpty() ? goodTemplate + to : QString(goodTemplate).replace(from, to);
}

} // namespace

class TestPM41 : public QObject
{
    Q_OBJECT

    TestDatabase m_database;
    Connection m_db{u"pm41"_s};
    QSqlDatabase m_sql;
    QString m_templates;

    void exec(const QString& sql, const QVariantList& params = {}) { m_db.execute(sql, params); }

    void addActivity(int card, int customer, int kind, int date, int next, const QVariantList& prices)
    {
        exec(u"INSERT INTO cinnosti (id_topneho_zdroje, id_zakaznika, cinnost, datum, datum_pristi, "
             "technik, cena_doprava, cena_prace, cena_material, cena_ostatni) "
             "VALUES (?, ?, ?, ?, ?, 'Jiří Kadlec', ?, ?, ?, ?)"_s,
             QVariantList{card, customer, kind, day(date), day(next)} + prices);
    }

    // Runs a shipped report for the customer; returns the message of a failure.
    QString run(const QString& file, qint64 customer, ReportData& data, const ParameterValues& values = {})
    {
        Template t;
        UserData user;
        parseParameterText(parameterText(customer), user);
        const QString error = loadTemplate(m_templates + u'/' + file, t);
        return error.isEmpty() ? runReport(t, user, values, m_sql, data) : error;
    }

    // Calls SestavaUNI and, once its window is up, hands the window to `inspect`; the window
    // is closed afterwards whatever the inspection found.
    int runWindow(const QString& dir, const QString& params, int closeAfterChoice,
                  const std::function<void(QDialog*)>& inspect)
    {
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (window)
                inspect(window);
            else
                QTest::qFail("the generator's window did not appear", __FILE__, __LINE__);
            if (window && window->isVisible())
                window->reject();
        });
        return SestavaUNI(qApp, reinterpret_cast<const char16_t*>(dir.utf16()),
                          reinterpret_cast<const char16_t*>(params.utf16()), -1, closeAfterChoice, &m_sql);
    }

    // What pm41PreviewTemplate showed: a message box's text, or the preview with its pages.
    struct Shown
    {
        QString text;
        int previewPages = -1;
    };

    // Calls pm41PreviewTemplate and closes whatever it shows; a null `extra` is passed as null.
    int preview(const QString& path, const QString& extra, Shown& shown,
                const QString& params = parameterText(0), QCoreApplication* application = qApp)
    {
        shown = Shown();
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown.text = box->text();
                box->done(0);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                QCOMPARE(dialog->objectName(), u"TNahledSestavy"_s);
                shown.previewPages = child<QPrintPreviewWidget>(*dialog)->pageCount();
                dialog->reject();
            }
        });
        const int result = pm41PreviewTemplate(
            application, reinterpret_cast<const char16_t*>(path.utf16()),
            reinterpret_cast<const char16_t*>(params.utf16()),
            extra.isNull() ? nullptr : reinterpret_cast<const char16_t*>(extra.utf16()), &m_sql);
        QCoreApplication::processEvents(); // the check above runs even when nothing was shown
        return result;
    }

    static QString message(QDialog* window) { return child<QLabel>(*window, "La_Zprava")->text(); }

    static void choose(QDialog* window, const QString& title)
    {
        auto* list = child<QListWidget>(*window, "LB_Sestavy");
        const auto found = list->findItems(title, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        list->setCurrentItem(found.first());
    }

private slots:
    void initTestCase()
    {
        m_templates = QFINDTESTDATA("../pm41/templates");
        QVERIFY(!m_templates.isEmpty());
        QVERIFY2(m_database.error().isEmpty(), qPrintable(m_database.error()));
        m_database.open(m_db);
        m_sql = m_db.database();

        // Czech order of the names: Cibulka, Čech, Horák, Chalupa; one customer has no name.
        exec(u"INSERT INTO cis_zakaznici (id, nazev, osoba, ulice, psc, mesto, tel, mobil, hlidani_revizi) "
             "VALUES (1, 'Čech Topení s.r.o.', 'Petr Čech', 'Dlouhá 5', '602 00', 'Brno', '541 000 111', "
             "'777 000 111', TRUE), (2, 'Cibulka Jan', NULL, NULL, NULL, 'Kolín', NULL, '606 1', TRUE), "
             "(3, 'Horák', NULL, NULL, NULL, NULL, NULL, NULL, FALSE), "
             "(4, 'Chalupa', NULL, NULL, NULL, NULL, NULL, NULL, TRUE), "
             "(5, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"_s);
        exec(u"INSERT INTO cis_kategorie (id, nazev_kategorie, lhuta) VALUES (1, 'Plynové kotle', 12)"_s);
        exec(u"INSERT INTO cis_cinnost (id, nazev_cinnosti) VALUES (1, 'Revize'), (2, 'Oprava')"_s);
        exec(u"INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, kategorie, lhuta, "
             "vyrazeno_dne) VALUES "
             "(1, 1, 'Kotel A', 'T1', 1, 12, NULL), (2, 1, 'Kotel B', 'T2', 1, 12, NULL), "
             "(3, 1, 'Kotel C', 'T3', 1, 12, NULL), (4, 1, 'Kotel D', 'T4', 1, 12, ?), "
             "(5, 2, 'Krb E', 'T5', 1, 24, NULL), (6, 3, 'Kotel F', 'T6', 1, 12, NULL)"_s,
             {day(-1)});
        exec(u"UPDATE topny_zdroj SET vyrobni_cislo = 'VC-' || id WHERE id IN (1, 5)"_s);
        const QVariant none;
        addActivity(1, 1, 1, -400, -35, {100, 0, 0, none});
        addActivity(1, 1, 1, -10, 20, {250.5, 1000, 0, none});
        addActivity(1, 1, 2, -10, 25, {0, 1500.25, 3299.99, 100}); // same day, later id: the last one
        addActivity(2, 1, 1, -380, -15, {0, 0, 0, 0});             // overdue
        addActivity(4, 1, 2, 0, -5, {50, none, none, none});       // decommissioned card, done today
        addActivity(5, 2, 1, -5, 60, {999, 0, 0, 0});
        addActivity(6, 3, 1, -370, -3, {0, 0, 0, 0}); // customer without watching
        // An activity without a date is never a card's last one.
        exec(u"INSERT INTO cinnosti (id_topneho_zdroje, id_zakaznika, cinnost) VALUES (2, 1, 2)"_s);
    }
    void cleanupTestCase()
    {
        m_sql = QSqlDatabase();
        m_db.close();
    }

    void parameterTextIsReadByItsFixedNames()
    {
        UserData user;
        QCOMPARE(parseParameterText(u"NazevSubjektu|Firma s.r.o.|OdpovednaOsoba||Ulice||PSC||Mesto||ICO||"
                                    "DIC||Tel||Email||WWW||OtevrenyZakaznik|12"_s,
                                    user),
                 QString());
        QCOMPARE(user.text(u"NazevSubjektu"_s), u"Firma s.r.o."_s);
        QCOMPARE(user.openCustomerId, 12);
        QCOMPARE(user.texts.size(), 10);
        QVERIFY(user.addressLines().isEmpty());

        QCOMPARE(parseParameterText(u"NazevSubjektu|A|B s.r.o.|OdpovednaOsoba||Ulice|U|PSC||Mesto||ICO||"
                                    "DIC||Tel|1|2|Email||WWW|x|OtevrenyZakaznik|y|OtevrenyZakaznik|0"_s,
                                    user),
                 QString());
        QCOMPARE(user.text(u"NazevSubjektu"_s), u"A|B s.r.o."_s);
        QCOMPARE(user.text(u"Tel"_s), u"1|2"_s);
        QCOMPARE(user.text(u"WWW"_s), u"x|OtevrenyZakaznik|y"_s);
        QCOMPARE(user.contactLines(), (QStringList{u"Tel.: 1|2"_s, u"x|OtevrenyZakaznik|y"_s}));

        QVERIFY(parseParameterText(u"NazevSubjektu|A|Ulice||OtevrenyZakaznik|1"_s, user)
                    .contains(u"„OdpovednaOsoba“"_s));
        QVERIFY(parseParameterText(parameterText(0).replace(u"|0"_s, u"|x"_s), user)
                    .contains(u"nemá číselnou hodnotu"_s));
        // The program's version, from the one the package carries.
        QCOMPARE(QString::fromUtf16(OznaceniVerzeDLL()),
                 QStringLiteral(VESTIBOR_PROJECT_VERSION).section(u'.', 0, 1));
    }

    void shippedTemplatesLoadInCzechOrder()
    {
        const QList<TemplateFile> files = listTemplates(m_templates);
        QStringList titles;
        for (const TemplateFile& f : files) {
            QVERIFY2(f.ok(), qPrintable(f.fileName() + u": "_s + f.error));
            titles << f.report.title;
        }
        QCOMPARE(titles,
                 (QStringList{u"Blížící se revize"_s, u"Činnosti a ceny"_s, u"Přehled revizí zákazníka"_s,
                              u"Seznam zákazníků"_s, u"Upozornění na revizi"_s}));
        const Template& coming = files[0].report;
        QCOMPARE(coming.parameters.size(), 1);
        QCOMPARE(coming.parameters[0].defaultValue, 30);
        QVERIFY(coming.mark.has_value());
        QVERIFY(files[1].report.requiresCustomer);
        QCOMPARE(files[1].report.totals->fields.size(), 5);
        const Template& letters = files[4].report;
        QVERIFY(letters.letter);
        QCOMPARE(letters.groupField, u"id_zakaznika"_s);
        QCOMPARE(letters.programValues, QStringList{u"Zdroje"_s});
        QVERIFY(!files[3].report.letter);
    }

    void templateFaultsNameTheirLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("fragment");
        const struct
        {
            const char *name, *from, *to;
            int line;
            const char* fragment;
        } cases[] = {
            {"unknown key", "Test\n", "Test\nbarva = modrá\n", 3, "neznámý klíč „barva“"},
            {"unknown section", "", "\n[obrazek]\n", 8, "neznámý oddíl [obrazek]"},
            {"no equals sign", "titulek = ", "titulek ", 6, "klíč = hodnota"},
            {"bad choice", "Test\n", "Test\norientace = šikmo\n", 3, "povolené hodnoty: na vysku, na sirku"},
            {"missing title", "nazev = Test\n", "popis = x\n", 1, "chybí klíč „nazev“"},
            {"key twice", "", "sirka = 2\nŠířka = 3\n", 8, "podruhé (poprvé na řádku 7)"},
            {"text before a section", "[sestava]", "# popis\nnazev = x\n[sestava]", 2, "zápis mimo oddíl"},
            {"section twice", "", "[sloupec NAZEV]\ntitulek = x\n", 7, "podruhé"},
            {"unknown parameter", "zakaznici\n", "zakaznici\n  WHERE id = :zakaznik\n", 5,
             "neznámý parametr „:zakaznik“"},
            {"positional parameter", "zakaznici\n", "zakaznici WHERE id = ?\n", 4, "jako :jméno"},
            {"second statement", "zakaznici\n", "zakaznici;\nDELETE FROM cinnosti\n", 5, "jen jeden"},
            {"not a select", "SELECT nazev", "DELETE", 4, "SELECT nebo WITH"},
            {"open string", "zakaznici\n", "zakaznici\nWHERE nazev = 'x\n", 5, "není ukončen"},
            {"sum of a text", "", "[soucty]\nsloupce = nazev\n", 8, "nemá formát penize"},
            {"date with a minimum", "", "[parametr od]\ndruh = datum\npopisek = Od\nmin = 1\n", 10,
             "jen k parametru druhu cislo"},
            {"default out of range", "", "[parametr dni]\ndruh = cislo\npopisek = Dní\nvychozi = -1\n", 10,
             "mimo rozsah 0 až 99999"},
            {"no query", "[dotaz]\nSELECT nazev FROM cis_zakaznici\n", "", 5, "skončila bez oddílu [dotaz]"},
            {"width not a number", "", "sirka = nan\n", 7, "šířka musí být"},
            {"font size not a number", "Test\n", "Test\npismo = nan\n", 3, "písmo musí mít"},
            {"parameter name beyond ASCII", "zakaznici\n", "zakaznici\nWHERE nazev = :dnesé\n", 5,
             "neznámý parametr „:dnesé“"},
            {"parameter with #", "zakaznici\n", "zakaznici WHERE id = #a\n", 4, "jako :jméno"},
            {"open bracket", "zakaznici\n", "zakaznici\nWHERE [nazev = 1\n", 5, "není ukončeno"},
            {"escape in a comment", "[sestava]", "# a\x1b b\n[sestava]", 1, "řídicí znak U+001B"},
            {"next line in a value", "Test\n", "Te\u0085st\n", 2, "řídicí znak U+0085"},
            {"brace left open", "", "[uvod]\nDobrý den,\nzákazníku {nazev\n", 9, "není uzavřen znakem „}“"},
            {"placeholder that is no name", "", "[zaver]\n{{ok}} {jméno}\n", 8,
             "„{jméno}“ není platný zástupný údaj"},
            {"sums in a letter", "", "format = penize\n[soucty]\nsloupce = nazev\n[adresat]\n{nazev}\n", 8,
             "oddíl [soucty] do dopisu nepatří"},
            {"legend in a letter", "", "[zvyrazneni]\npole = nazev\nlegenda = x\n[zaver]\nS pozdravem\n", 8,
             "oddíl [zvyrazneni] do dopisu nepatří"},
            {"group that is no name", "Test\n", "Test\nskupina = id zakaznika\n", 3,
             "skupina musí být jméno"},
            {"program value named like a built-in one", "Test\n", "Test\nod_programu = Zdroje, DNES\n", 3,
             "„DNES“ je jméno, které sestava dostává od programu vždy"},
            {"value from the program not declared", "zakaznici\n", "zakaznici\nWHERE id = :Zdroje\n", 5,
             "neznámý parametr „:Zdroje“"},
            {"query of an unknown database", "", "[dotaz MYSQL]\nSELECT 1\n", 7,
             "[dotaz MYSQL]: takovou databázi předloha nezná"},
            {"unknown parameter in the server's query", "",
             "[dotaz QPSQL]\nSELECT nazev\nFROM x WHERE id = :kdo\n", 9, "neznámý parametr „:kdo“"},
            {"the server's query twice", "", "[dotaz qpsql]\nSELECT 1\n[dotaz QPSQL]\nSELECT 2\n", 9,
             "podruhé (poprvé na řádku 7)"},
            {"computed date without a name", "", "[datum]\nhodnota = dnes\n", 7, "např. [datum konec]"},
            {"computed date without its value", "", "[datum konec]\n", 7, "chybí klíč „hodnota“"},
            {"computed date in another form", "", "[datum konec]\nhodnota = dnes + 1 den\n", 8,
             "se zapisuje jako „dnes + dni“"},
            {"computed date from a number", "",
             "[parametr n]\ndruh = cislo\npopisek = N\n[datum x]\nhodnota = n + 1\n", 11,
             "„n“ není dnes ani parametr druhu datum"},
            {"days that are a date", "",
             "[parametr od]\ndruh = datum\npopisek = Od\n[datum x]\nhodnota = dnes - od\n", 11,
             "„od“ není parametr druhu cislo"},
            {"computed date named like a parameter", "",
             "[datum od]\nhodnota = dnes\n[parametr OD]\ndruh = datum\npopisek = Od\n", 7,
             "„od“ už je jméno parametru"},
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << changed(QString::fromUtf8(c.from), QString::fromUtf8(c.to)) << c.line
                                  << QString::fromUtf8(c.fragment);
        // SQLite reads the query only up to a NUL, so the values bound after it went astray.
        QTest::newRow("NUL in the query")
            << changed(u"SELECT nazev"_s, u"SELECT :dnes"_s + QChar(0) + u", :dnes AS x, nazev"_s) << 4
            << u"řídicí znak U+0000"_s;
        // A very long line is quoted only in part: the window would grow wide and slow.
        QTest::newRow("very long value")
            << changed(u"Test\n"_s, u"Test\norientace = "_s + QString(70000, u'x') + u'\n') << 3
            << u"hodnotu „"_s + QString(79, u'x') + u"… povolené"_s;
    }
    void templateFaultsNameTheirLine()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, fragment);
        Template t;
        QCOMPARE(parseTemplate(goodTemplate, t), QString());
        const QString error = parseTemplate(text, t);
        QVERIFY2(error.startsWith(u"Řádek %1: "_s.arg(line)), qPrintable(error));
        QVERIFY2(error.contains(fragment), qPrintable(error));
    }

    // Only what stands outside texts, quoted names and comments is a parameter, as the
    // databases read it, and the query runs with it on the database whose SQL it is. Comments
    // are left out of what the database gets: Qt counts the :names in them as values to bind.
    void parametersAreFoundOutsideTextsAndComments_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("prepared");
        QTest::addColumn<QString>("runsOn"); // "both", "file" or "server"
        QTest::addColumn<QString>("shown");
        const struct
        {
            const char *name, *sql, *prepared, *runsOn, *shown;
        } cases[] = {
            {"line comment", "SELECT 1 AS nazev -- :dnes, :ICO\n, :PSC AS b", "SELECT 1 AS nazev \n, ? AS b",
             "both", "1"},
            {"block comment", "SELECT /* :dnes\n:ICO */ :PSC AS nazev", "SELECT   ? AS nazev", "both",
             "602 00"},
            {"doubled quotes", "SELECT 'O''Brien :dnes' AS nazev, :PSC",
             "SELECT 'O''Brien :dnes' AS nazev, ?", "both", "O'Brien :dnes"},
            {"quoted name", "SELECT 1 AS \"a:dnes\", :PSC AS nazev", "SELECT 1 AS \"a:dnes\", ? AS nazev",
             "both", "602 00"},
            {"name in brackets", "SELECT 1 AS [a:dnes], :PSC AS nazev", "SELECT 1 AS [a:dnes], ? AS nazev",
             "file", "602 00"},
            {"the server's cast", "SELECT :PSC::text AS nazev, 1::int AS b",
             "SELECT ?::text AS nazev, 1::int AS b", "server", "602 00"},
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << QString::fromUtf8(c.sql) << QString::fromUtf8(c.prepared)
                                  << QString::fromUtf8(c.runsOn) << QString::fromUtf8(c.shown);
    }
    void parametersAreFoundOutsideTextsAndComments()
    {
        QFETCH(QString, sql);
        QFETCH(QString, prepared);
        QFETCH(QString, runsOn);
        QFETCH(QString, shown);
        Template t;
        QCOMPARE(parseTemplate(changed(u"SELECT nazev FROM cis_zakaznici"_s, sql), t), QString());
        QCOMPARE(t.queries.size(), 1);
        QCOMPARE(t.queries[0].prepared.sql, prepared);
        QCOMPARE(t.queries[0].prepared.names, QStringList{u"PSC"_s});
        if (runsOn != u"both" && runsOn != (onServer() ? u"server" : u"file"))
            return;
        UserData user;
        parseParameterText(parameterText(0), user);
        ReportData data;
        QCOMPARE(runReport(t, user, {}, m_sql, data), QString());
        QCOMPARE(data.rows.value(0).cells.value(0), shown);
    }

    void queriesAreBoundAndNeverWrite()
    {
        Template t;
        UserData user;
        parseParameterText(parameterText(0), user);
        ReportData data;
        const auto runWithQuery = [&](const QString& select) {
            const QString error = parseTemplate(changed(u"SELECT nazev FROM cis_zakaznici"_s, select), t);
            return error.isEmpty() ? runReport(t, user, {}, m_sql, data) : error;
        };
        QCOMPARE(runWithQuery(u"SELECT nazev, x FROM cis_zakaznici"_s),
                 u"Řádek 4: dotaz sestavy skončil chybou databáze: "_s + missingColumn(u"x"_s));
        QCOMPARE(runWithQuery(u"SELECT osoba FROM cis_zakaznici"_s),
                 u"Řádek 5: dotaz nevrací pole „nazev“; vrací jen: osoba."_s);

        // Every name of the parameter text and today reach the query as values.
        QCOMPARE(runWithQuery(u"SELECT :NazevSubjektu || '/' || :PSC || '/' || :dnes || '/' "
                              "|| :OtevrenyZakaznik AS nazev"_s),
                 QString());
        QCOMPARE(data.rows.value(0).cells.value(0), u"Topservis s.r.o./602 00/%1/0"_s.arg(day(0)));

        // Qt's driver can read out of bounds when it has more values than the statement has
        // markers: such a query never reaches it.
        // (The server refuses such a statement by itself.)
        Template astray = t;
        astray.queries.first().prepared = {u"SELECT ? AS nazev"_s, {u"dnes"_s, u"dnes"_s}, {}};
        QVERIFY(runReport(astray, user, {}, m_sql, data)
                    .contains(onServer() ? u"wrong number of parameters"_s
                                         : u"jiný počet parametrů (1) než sestava (2)"_s));

        QVERIFY(runWithQuery(u"WITH x AS (SELECT 1) DELETE FROM cis_zakaznici"_s)
                    .contains(onServer() ? u"cannot execute DELETE in a read-only transaction"_s
                                         : u"attempt to write a readonly database"_s));
        QCOMPARE(m_db.query(u"SELECT count(*) FROM cis_zakaznici"_s).rows[0][0].toInt(), 5);
        // The guard is lifted again for the program.
        exec(u"UPDATE cis_zakaznici SET poznamka1 = NULL WHERE id = 1"_s);
    }

    // What a query writes where the server lets a read-only transaction write (a table of
    // the session) does not stay: the report's transaction is rolled back. The file refuses it.
    void nothingTheQueryWritesStays()
    {
        exec(u"CREATE TEMP TABLE pokus (x INTEGER)"_s);
        Template t;
        QCOMPARE(
            parseTemplate(
                changed(u"SELECT nazev FROM cis_zakaznici"_s,
                        u"WITH n AS (INSERT INTO pokus VALUES (7) RETURNING x) SELECT x AS nazev FROM n"_s),
                t),
            QString());
        ReportData data;
        const QString error = runReport(t, UserData(), {}, m_sql, data);
        if (onServer()) {
            QCOMPARE(error, QString());
            QCOMPARE(column(data, 0), QStringList{u"7"_s});
        } else {
            QVERIFY(error.startsWith(u"Řádek 4: dotaz sestavy skončil chybou databáze: "_s));
        }
        QCOMPARE(m_db.query(u"SELECT count(*) FROM pokus"_s).rows[0][0].toInt(), 0);
        exec(u"DROP TABLE pokus"_s);
    }

    // A report may be asked for while the program is in the middle of writing (it never is
    // now). On the file the query-only switch guards it; on the server it waits, as its
    // rollback would undo the program's writing.
    void theProgramsTransactionIsLeftAlone()
    {
        ReportData data;
        {
            Transaction writing(m_db);
            exec(u"UPDATE cis_zakaznici SET poznamka1 = 'rozepsáno' WHERE id = 4"_s);
            const QString error = run(u"seznam_zakazniku.sestava"_s, 0, data);
            QCOMPARE(error, onServer() ? u"Sestavu teď nelze sestavit: program právě zapisuje do databáze. "
                                         "Zkuste to prosím za chvíli znovu."_s
                                       : QString());
            exec(u"UPDATE cis_zakaznici SET poznamka2 = 'dopsáno' WHERE id = 4"_s);
            writing.commit();
        }
        QCOMPARE(m_db.query(u"SELECT poznamka1 || ' ' || poznamka2 FROM cis_zakaznici WHERE id = 4"_s)
                     .rows[0][0]
                     .toString(),
                 u"rozepsáno dopsáno"_s);
        exec(u"UPDATE cis_zakaznici SET poznamka1 = NULL, poznamka2 = NULL WHERE id = 4"_s);
        QCOMPARE(run(u"seznam_zakazniku.sestava"_s, 0, data), QString());
    }

    // A template may give a database a query of its own, run there instead of the common
    // [dotaz]; the common one serves the other database.
    void aDatabaseRunsItsOwnQuery()
    {
        const QString head = u"[sestava]\nnazev = Test\n[sloupec nazev]\ntitulek = Název\n"_s;
        const QString common = u"[dotaz]\nSELECT 'společný' AS nazev\n"_s;
        const QString forServer = u"[dotaz QPSQL]\nSELECT 'server'::text AS nazev\n"_s;
        const QString forFile = u"[dotaz QSQLITE]\nSELECT 'soubor' AS [nazev]\n"_s;
        const auto shownBy = [&](const QString& text) {
            Template t;
            QString error = parseTemplate(text, t);
            ReportData data;
            if (error.isEmpty())
                error = runReport(t, UserData(), {}, m_sql, data);
            return error.isEmpty() ? data.rows.value(0).cells.value(0) : error;
        };
        QCOMPARE(shownBy(head + common), u"společný"_s);
        QCOMPARE(shownBy(head + common + forServer), onServer() ? u"server"_s : u"společný"_s);
        QCOMPARE(shownBy(head + forFile + common), onServer() ? u"společný"_s : u"soubor"_s);
        QCOMPARE(shownBy(head + forServer + common + forFile), onServer() ? u"server"_s : u"soubor"_s);
        // Without the common query the other database has none.
        QCOMPARE(shownBy(head + forFile), onServer()
                                              ? u"Řádek 6: předloha má jen dotaz pro databázový soubor; "
                                                "pro databázový server jí chybí oddíl [dotaz] nebo "
                                                "[dotaz QPSQL]."_s
                                              : u"soubor"_s);
        QCOMPARE(shownBy(head + forServer), onServer()
                                                ? u"server"_s
                                                : u"Řádek 6: předloha má jen dotaz pro databázový "
                                                  "server; pro databázový soubor jí chybí oddíl [dotaz] "
                                                  "nebo [dotaz QSQLITE]."_s);
        // A fault of the query names the query's own line.
        QCOMPARE(shownBy(head + common + u"[dotaz QPSQL]\nSELECT nazev\nFROM chybi_zakaznici\n"_s),
                 onServer() ? u"Řádek 8: dotaz sestavy skončil chybou databáze: "_s +
                                  missingTable(u"chybi_zakaznici"_s)
                            : u"společný"_s);
    }

    // LIKE ignores letter case on both databases, NOT LIKE too; a word LIKE in a text is
    // text. A query of the server's own is the server's SQL, where LIKE heeds the case.
    void likeIgnoresLetterCaseOnBoth()
    {
        const QString text = u"[sestava]\nnazev = Test\n[sloupec nazev]\ntitulek = Název\n"
                             "[sloupec slovo]\ntitulek = Slovo\n"
                             "[dotaz]\nSELECT nazev, 'like' AS slovo FROM cis_zakaznici\n"
                             "WHERE nazev LIKE 'čech%' OR nazev NOT LIKE '%A%' ORDER BY id\n"_s;
        Template t;
        QCOMPARE(parseTemplate(text, t), QString());
        ReportData data;
        QCOMPARE(runReport(t, UserData(), {}, m_sql, data), QString());
        QCOMPARE(column(data, 0), (QStringList{"Čech Topení s.r.o.", "Horák"}));
        QCOMPARE(column(data, 1), (QStringList{"like", "like"}));

        QCOMPARE(parseTemplate(text + u"[dotaz QPSQL]\nSELECT nazev, 'x' AS slovo FROM cis_zakaznici "
                                      "WHERE nazev LIKE 'čech%'\n"_s,
                               t),
                 QString());
        QCOMPARE(runReport(t, UserData(), {}, m_sql, data), QString());
        QCOMPARE(data.rows.size(), onServer() ? 0 : 2);
    }

    // Dates computed from today or a date parameter and whole days: both ends compare with
    // the stored dates as days, and a date beyond the calendar is refused at its line.
    void computedDatesAreDaysFromTodayOrAParameter()
    {
        Template t;
        QCOMPARE(parseTemplate(u"[sestava]\nnazev = Data\n"                                 // 1-2
                               "[datum pred]\nhodnota = od - n\n"                           // 3-4
                               "[parametr od]\ndruh = datum\npopisek = Od\nvychozi = -7\n"  // 5-8
                               "[parametr n]\ndruh = cislo\npopisek = Dní\nmax = 9999999\n" // 9-12
                               "[datum za]\nhodnota=dnes+2\n"                               // 13-14
                               "[dotaz]\nSELECT count(*) AS pocet, :za AS kdy FROM cinnosti\n"
                               "WHERE datum >= :pred AND datum <= :za\n"
                               "[sloupec pocet]\ntitulek = Počet\nformat = cislo\n"
                               "[sloupec kdy]\ntitulek = Do\nformat = datum\n"_s,
                               t),
                 QString());
        const auto counted = [&](const ParameterValues& values) {
            ReportData data;
            const QString error = runReport(t, UserData(), values, m_sql, data);
            return error.isEmpty() ? data.rows.value(0).cells : QStringList{error};
        };
        QCOMPARE(counted({}), (QStringList{"2", shown(2)})); // today and 5 days ago
        QCOMPARE(counted({{"n", 3}}), (QStringList{"4", shown(2)}));
        QCOMPARE(counted({{"n", 2}}), (QStringList{"2", shown(2)}));
        QCOMPARE(counted({{"od", QDate::currentDate().addDays(-400)}}), (QStringList{"7", shown(2)}));
        QCOMPARE(counted({{"n", 9999999}}),
                 QStringList{u"Řádek 4: vypočtené datum „pred“ nemá platné datum."_s});
    }

    // Firms keep the templates an older version installed, written for the database file
    // alone: on the file they run as before and give what the templates shipped now give. The
    // server refuses their SQL in its own words and goes on serving the next report.
    void olderTemplatesStillRunOnTheFile()
    {
        const QString older = QFINDTESTDATA("old_templates");
        QVERIFY(!older.isEmpty());
        const QDate today = QDate::currentDate();
        const struct
        {
            QString file;
            qint64 customer;
            ParameterValues values;
        } cases[] = {
            {u"blizici_se_revize.sestava"_s, 0, {{"dni", 25}}},
            {u"blizici_se_revize.sestava"_s, 0, {{"dni", 24}}},
            {u"cinnosti_a_ceny.sestava"_s, 1, {{"od", today.addDays(-400)}, {"do", today.addDays(-10)}}},
            {u"cinnosti_a_ceny.sestava"_s, 1, {{"od", today.addDays(-10)}, {"do", today}}}};
        for (const auto& c : cases) {
            ReportData now, before;
            QCOMPARE(run(c.file, c.customer, now, c.values), QString());
            Template t;
            QCOMPARE(loadTemplate(older + u'/' + c.file, t), QString());
            UserData user;
            parseParameterText(parameterText(c.customer), user);
            const QString error = runReport(t, user, c.values, m_sql, before);
            if (onServer()) {
                QVERIFY2(error.contains(u"dotaz sestavy skončil chybou databáze: function "_s) &&
                             error.contains(u"does not exist"_s),
                         qPrintable(error));
                continue;
            }
            QCOMPARE(error, QString());
            QVERIFY(!now.rows.isEmpty());
            QCOMPARE(before.rows.size(), now.rows.size());
            for (int col = 0; col < now.columns.size(); ++col)
                QCOMPARE(column(before, col), column(now, col));
            QCOMPARE(before.markedCount, now.markedCount);
            QCOMPARE(before.parameters, now.parameters);
            for (int i = 0; i < now.totals.size(); ++i)
                QCOMPARE(before.totals.value(i).text, now.totals[i].text);
        }
        ReportData data;
        QCOMPARE(run(u"seznam_zakazniku.sestava"_s, 0, data), QString());
        QCOMPARE(data.rows.size(), 5);
    }

    // The databases hand over values in forms of their own; a report prints them alike:
    // yes/no as 1 and 0, money as a plain number, a date and a time of day as the file keeps them.
    void valuesPrintAlikeOnBoth()
    {
        Template t;
        QCOMPARE(parseTemplate(u"[sestava]\nnazev = Hodnoty\n"
                               "[dotaz]\nSELECT z.hlidani_revizi AS hlidani, c.datum, c.cena_prace AS cena, "
                               "c.datum < :dnes AS drive\n"
                               "FROM cinnosti c JOIN cis_zakaznici z ON z.id = c.id_zakaznika\n"
                               "WHERE c.id_topneho_zdroje = 1 ORDER BY c.id\n"
                               "[sloupec hlidani]\ntitulek = H\n[sloupec datum]\ntitulek = D\n"
                               "[sloupec cena]\ntitulek = C\n[sloupec drive]\ntitulek = P\n"_s,
                               t),
                 QString());
        ReportData data;
        QCOMPARE(runReport(t, UserData(), {}, m_sql, data), QString());
        QCOMPARE(data.rows.size(), 3);
        QCOMPARE(data.rows[0].cells, (QStringList{"1", day(-400), "0", "1"}));
        QCOMPARE(data.rows[2].cells, (QStringList{"1", day(-10), "1500.25", "1"}));

        QCOMPARE(parseTemplate(u"[sestava]\nnazev = Čas\n"
                               "[dotaz QSQLITE]\nSELECT '2024-05-01 10:00:00' AS kdy, 0 AS ne\n"
                               "[dotaz QPSQL]\nSELECT TIMESTAMP '2024-05-01 10:00:00' AS kdy, FALSE AS ne\n"
                               "[sloupec kdy]\ntitulek = Kdy\n[sloupec ne]\ntitulek = Ne\n"
                               "[adresat]\n{kdy} {ne}\n"_s,
                               t),
                 QString());
        QCOMPARE(runReport(t, UserData(), {}, m_sql, data), QString());
        QCOMPARE(data.rows.value(0).cells, (QStringList{"2024-05-01 10:00:00", "0"}));
        QCOMPARE(data.groups.value(0).recipient, QStringList{u"1.5.2024 0"_s});
    }

    void reportOfTheOpenCustomerNeedsOne()
    {
        ReportData data;
        QVERIFY(run(u"cinnosti_a_ceny.sestava"_s, 0, data).contains(u"žádný zákazník není otevřen"_s));
        QCOMPARE(run(u"cinnosti_a_ceny.sestava"_s, 99, data),
                 u"Otevřený zákazník (číslo 99) v databázi není."_s);
    }

    void customerListSortsTheCzechWay()
    {
        ReportData data;
        QCOMPARE(run(u"seznam_zakazniku.sestava"_s, 0, data), QString());
        QCOMPARE(column(data, 0),
                 (QStringList{QString(), "Cibulka Jan", "Čech Topení s.r.o.", "Horák", "Chalupa"}));
        QCOMPARE(data.rows[2].cells.mid(5, 3), (QStringList{QString(), "541 000 111", "777 000 111"}));
        QVERIFY(data.customer.isEmpty());
        QCOMPARE(data.companyName, u"Topservis s.r.o."_s);
        QCOMPARE(data.companyAddress, (QStringList{"Jan Novák", "Dlouhá 1", "602 00 Brno"}));
    }

    void cardOverviewTakesTheLastActivity()
    {
        ReportData data;
        QCOMPARE(run(u"prehled_revizi_zakaznika.sestava"_s, 1, data), QString());
        QCOMPARE(data.customer, u"Čech Topení s.r.o., Dlouhá 5, 602 00 Brno"_s);
        QCOMPARE(data.rows.size(), 4);
        // Name, type, serial, category, period, last date, last kind, next inspection, decommissioned.
        QCOMPARE(data.rows[0].cells.mid(3),
                 (QStringList{"Plynové kotle", "12", shown(-10), "Oprava", shown(25), QString()}));
        // Kotel B's activity without a date is not its last one.
        QCOMPARE(data.rows[1].cells.mid(5, 3), (QStringList{shown(-380), "Revize", shown(-15)}));
        QCOMPARE(data.rows[2].cells.mid(5), (QStringList{QString(), QString(), QString(), QString()}));
        QCOMPARE(data.markedCount, 1);
        QVERIFY(data.rows[1].marked); // Kotel D is overdue, but out of service
        QCOMPARE(data.legend, u"Revize po termínu"_s);
    }

    void comingInspectionsOfWatchedCustomers()
    {
        ReportData data;
        QCOMPARE(run(u"blizici_se_revize.sestava"_s, 0, data), QString());
        QCOMPARE(data.parameters, (QList<QPair<QString, QString>>{{"Počet dní dopředu", "30"}}));
        QCOMPARE(data.rows.value(0).cells.value(1), u"Čech Topení s.r.o."_s);
        QCOMPARE(data.rows[0].cells.mid(3, 3),
                 (QStringList{"Dlouhá 5, 602 00 Brno", "541 000 111", "777 000 111"}));
        QCOMPARE(column(data, 0), (QStringList{shown(-15), shown(25)}));
        QVERIFY(data.rows[0].marked);
        QCOMPARE(data.markedCount, 1);

        QCOMPARE(run(u"blizici_se_revize.sestava"_s, 0, data, {{"dni", 90}}), QString());
        QCOMPARE(data.rows.size(), 3);
        QCOMPARE(data.rows[2].cells.mid(0, 4), (QStringList{shown(60), "Cibulka Jan", QString(), "Kolín"}));

        // The window ends with the last day counted: Kotel A is due in 25 days.
        QCOMPARE(run(u"blizici_se_revize.sestava"_s, 0, data, {{"dni", 25}}), QString());
        QCOMPARE(column(data, 0), (QStringList{shown(-15), shown(25)}));
        QCOMPARE(run(u"blizici_se_revize.sestava"_s, 0, data, {{"dni", 24}}), QString());
        QCOMPARE(column(data, 0), QStringList{shown(-15)});
        QCOMPARE(data.parameters, (QList<QPair<QString, QString>>{{"Počet dní dopředu", "24"}}));
    }

    void activitiesAndPricesAreSummedExactly()
    {
        ReportData data;
        QCOMPARE(run(u"cinnosti_a_ceny.sestava"_s, 1, data), QString());
        QCOMPARE(data.parameters,
                 (QList<QPair<QString, QString>>{{"Období od", shown(-365)}, {"do", shown(0)}}));
        QCOMPARE(data.rows.size(), 3); // the period ends with today's activity
        QCOMPARE(data.rows[0].cells.mid(4),
                 (QStringList{"250,50", "1 000,00", "0,00", QString(), "1 250,50"}));
        QCOMPARE(data.total(u"cena_doprava"_s), 300.5);
        QCOMPARE(data.total(u"cena_material"_s), 3299.99);
        QCOMPARE(data.total(u"celkem"_s), 6200.74);
        QStringList sums;
        for (const ReportTotal& t : data.totals)
            sums << t.text;
        QCOMPARE(sums, (QStringList{"300,50 Kč", "2 500,25 Kč", "3 299,99 Kč", "100,00 Kč", "6 200,74 Kč"}));

        QCOMPARE(
            run(u"cinnosti_a_ceny.sestava"_s, 1, data,
                {{"od", QDate::currentDate().addDays(-400)}, {"do", QDate::currentDate().addDays(-390)}}),
            QString());
        QCOMPARE(data.rows.size(), 1);
        QCOMPARE(data.total(u"celkem"_s), 100.0);

        // Both ends of the period belong to it.
        const auto period = [&](int from, int to) {
            const QString error =
                run(u"cinnosti_a_ceny.sestava"_s, 1, data,
                    {{"od", QDate::currentDate().addDays(from)}, {"do", QDate::currentDate().addDays(to)}});
            return error.isEmpty() ? column(data, 0) : QStringList{error};
        };
        QCOMPARE(period(-10, -10), (QStringList{shown(-10), shown(-10)}));
        QCOMPARE(period(-9, -1), QStringList());
        QCOMPARE(period(-11, -11), QStringList());
        QCOMPARE(period(-1, 0), QStringList{shown(0)});
    }

    // The reminder letters: one a customer for the cards the program names in :Zdroje, in
    // Czech order of the customers; cards out of service get none.
    void remindersAreOneLetterPerCustomer()
    {
        const QString file = u"upozorneni_na_revizi.sestava"_s;
        ReportData data;
        QCOMPARE(run(file, 0, data, {{"Zdroje", "6,4,1,2,3,5"}}), QString());
        QVERIFY(data.letter);
        // Čech's cards by their due date, the one without a date last.
        QCOMPARE(column(data, 0), (QStringList{"Krb E", "Kotel B", "Kotel A", "Kotel C", "Kotel F"}));
        QCOMPARE(data.rows[0].cells, (QStringList{"Krb E", "T5", "VC-5", shown(60)}));
        QCOMPARE(data.rows[2].cells.mid(2), (QStringList{"VC-1", shown(25)}));
        QList<QPair<int, int>> letters;
        for (const ReportGroup& g : std::as_const(data.groups))
            letters.append({g.firstRow, g.rowCount});
        QCOMPARE(letters, (QList<QPair<int, int>>{{0, 1}, {1, 3}, {4, 1}}));
        // An address leaves out the lines it has nothing for.
        QCOMPARE(data.groups[0].recipient, (QStringList{"Cibulka Jan", "Kolín"}));
        QCOMPARE(data.groups[1].recipient,
                 (QStringList{"Čech Topení s.r.o.", "Petr Čech", "Dlouhá 5", "602 00 Brno"}));
        QCOMPARE(data.groups[2].recipient, QStringList{"Horák"});
        QCOMPARE(data.groups[1].intro.value(0), u"Brno "_s + shown(0));
        QVERIFY(data.groups[1].closing.value(0).contains(u"napište na e-mail servis@topservis.cz,"_s));
        QCOMPARE(data.groups[1].closing.mid(data.groups[1].closing.size() - 2),
                 (QStringList{"Jan Novák", "Topservis s.r.o."}));
        QTemporaryDir out;
        int pages = 0;
        QCOMPARE(renderToPdf(data, out.filePath(u"dopisy.pdf"_s), &pages), QString());
        QCOMPARE(pages, 3);

        // Only the cards named, each by its whole number: 12 and 25 are not 1, 2 or 5.
        QCOMPARE(run(file, 0, data, {{"Zdroje", "2,5"}}), QString());
        QCOMPARE(column(data, 0), (QStringList{"Krb E", "Kotel B"}));
        QCOMPARE(run(file, 0, data, {{"Zdroje", "12,25,4"}}), QString());
        QVERIFY(data.rows.isEmpty() && data.groups.isEmpty());
        // From the list of reports the cards are missing, and the message says where it is printed.
        QCOMPARE(run(file, 0, data),
                 u"Řádek 14: sestava potřebuje hodnotu „Zdroje“, kterou jí předává program; "
                 "tiskne se z jeho okna, ne ze seznamu sestav."_s);
    }

    void letterTextIsFilledFromTheFirstRowOfEachLetter()
    {
        const QString letter =
            u"[sestava]\n"                                                                         // 1
            "nazev = Dopis\n"                                                                      // 2
            "skupina = kdo\n"                                                                      // 3
            "[dotaz]\n"                                                                            // 4
            "SELECT column1 AS kdo, column2 AS adresa, column3 AS kdy, column4 AS castka\n"        // 5
            "FROM (VALUES ('A', NULL, '2024-05-01', 1250.5), ('A', 'x', NULL, 2),\n"               // 6
            "  ('B', 'Dlouhá 1', '2024-05-01 10:00:00', NULL), (NULL, NULL, 'pozítří', 3)) AS v\n" // 7
            "[adresat]\n"                                                                          // 8
            "{kdo}\n"                                                                              // 9
            "  {adresa}  \n"                                                                       // 10
            "{{{kdo}}} }\n"                                                                        // 11
            "[uvod]\n"                                                                             // 12
            "Ke dni {kdy}, IČO {ICO}, {dnes}: {castka}\n"                                          // 13
            "\n"                                                                                   // 14
            "{adresa} {DIC}\n"                                                                     // 15
            "\n"                                                                                   // 16
            "Konec\n"                                                                              // 17
            "[sloupec castka]\n"                                                                   // 18
            "titulek = Částka\n"_s;                                                                // 19
        UserData user;
        parseParameterText(parameterText(0), user);
        const auto runLetter = [&](const QString& text, ReportData& data) {
            Template t;
            const QString error = parseTemplate(text, t);
            return error.isEmpty() ? runReport(t, user, {}, m_sql, data) : error;
        };
        ReportData data;
        QCOMPARE(runLetter(letter, data), QString());
        QCOMPARE(data.groups.size(), 3); // a run of NULL is a letter too
        const QString opening = u"Ke dni %1, IČO 12345678, "_s + shown(0) + u": %2"_s;
        QCOMPARE(data.groups[0].recipient, (QStringList{"A", "{A} }"}));
        QCOMPARE(data.groups[0].intro, (QStringList{opening.arg("1.5.2024", "1250,50"), QString(), "Konec"}));
        QCOMPARE(data.groups[1].recipient, (QStringList{"B", "Dlouhá 1", "{B} }"}));
        QCOMPARE(data.groups[1].intro, (QStringList{opening.arg("1.5.2024", QString()).trimmed(), QString(),
                                                    "Dlouhá 1", QString(), "Konec"}));
        QCOMPARE(data.groups[2].firstRow, 3);
        QCOMPARE(data.groups[2].recipient, QStringList{"{} }"});
        QCOMPARE(data.groups[2].intro.value(0), opening.arg("pozítří", "3"));

        // Without a group field all rows make one letter.
        QCOMPARE(runLetter(QString(letter).replace(u"skupina = kdo"_s, u"popis = x"_s), data), QString());
        QCOMPARE(data.groups.size(), 1);
        QCOMPARE(data.groups[0].rowCount, 4);

        // A placeholder must be a column or a value of the user, and not both.
        QCOMPARE(
            runLetter(
                QString(letter).replace(u"AS adresa"_s, u"AS ulice"_s).replace(u"{adresa}"_s, u"{ulice}"_s),
                data),
            u"Řádek 10: zástupný údaj {ulice} je zároveň pole dotazu i údaj, který sestava dostává od "
            "programu; pole v dotazu pojmenujte jinak (AS …)."_s);
        QVERIFY(
            runLetter(QString(letter).replace(u"{DIC}"_s, u"{neni}"_s), data)
                .startsWith(u"Řádek 15: neznámý zástupný údaj {neni}. Dopis může použít pole dotazu (kdo, "
                            "adresa, kdy, castka), údaje uživatele {NazevSubjektu}, "_s));
    }

    // Each letter starts on a page of its own and numbers its pages by itself; a long one
    // carries its column titles on to the next page, and its closing stays in one piece.
    void lettersStartOnNewPagesAndNumberTheirOwn()
    {
        ReportData base;
        QCOMPARE(run(u"upozorneni_na_revizi.sestava"_s, 0, base, {{"Zdroje", "1,2,5,6"}}), QString());
        QCOMPARE(base.groups.size(), 3);
        const auto lengthened = [&](int more) {
            ReportData data = base;
            for (int i = 0; i < more; ++i)
                data.rows.insert(data.groups[1].firstRow, data.rows[data.groups[1].firstRow]);
            data.groups[1].rowCount += more;
            data.groups[2].firstRow += more;
            return data;
        };
        const ReportData data = lengthened(60);
        const QList<LetterPage> pages = layOutLetters(data);
        QList<QList<int>> numbers;
        for (const LetterPage& page : pages)
            numbers.append({page.group, page.number, page.count});
        QCOMPARE(numbers, (QList<QList<int>>{{0, 1, 1}, {1, 1, 2}, {1, 2, 2}, {2, 1, 1}}));
        QCOMPARE(pages[2].items.value(0).kind, LetterItem::Kind::ColumnTitles);
        QTemporaryDir out;
        int pdfPages = 0;
        QCOMPARE(renderToPdf(data, out.filePath(u"dlouhy.pdf"_s), &pdfPages), QString());
        QCOMPARE(pdfPages, 4);
        QCOMPARE(openAndClosePreview(data), 4);

        for (int more = 20; more < 70; ++more) {
            QSet<int> closingPages;
            const QList<LetterPage> laidOut = layOutLetters(lengthened(more));
            for (int p = 0; p < laidOut.size(); ++p)
                for (const LetterItem& item : laidOut[p].items)
                    if (laidOut[p].group == 1 &&
                        (item.text.startsWith(u"Prosíme"_s) || item.text == u"Topservis s.r.o."_s))
                        closingPages << p;
            QVERIFY2(closingPages.size() == 1, qPrintable(QString::number(more)));
        }
    }

    void programValuesAreReadStrictly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("count");
        QTest::newRow("none") << QString() << QString() << 0;
        QTest::newRow("two values") << u"Zdroje|1,5,9|Druhe_2|a b"_s << QString() << 2;
        QTest::newRow("an empty value") << u"Zdroje|"_s << QString() << 1;
        QTest::newRow("a name without a value") << u"Zdroje|1|x"_s << u"ke jménu „x“ chybí hodnota"_s << 0;
        QTest::newRow("a name with a space") << u"Zdr oje|1"_s << u"„Zdr oje“ není platné jméno"_s << 0;
        QTest::newRow("no name") << u"|1"_s << u"„“ není platné jméno"_s << 0;
        QTest::newRow("a built-in name") << u"mesto|x"_s << u"nesmí jmenovat „mesto“"_s << 0;
        QTest::newRow("a name twice")
            << u"Zdroje|1|zdroje|2"_s << u"„zdroje“ je mezi hodnotami od programu dvakrát"_s << 0;
    }
    void programValuesAreReadStrictly()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(int, count);
        ParameterValues values;
        const QString found = parseProgramValues(text, values);
        QVERIFY2(error.isEmpty() ? found.isEmpty() : found.contains(error), qPrintable(found));
        QCOMPARE(values.size(), count);
        if (count == 2)
            QCOMPARE(values.value(u"Druhe_2"_s).toString(), u"a b"_s);
    }

    void valuesAreShownExactlyOrAsHashes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<ValueFormat>("format");
        QTest::addColumn<QString>("shown");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const struct
        {
            const char* name;
            QVariant value;
            ValueFormat format;
            const char* shown;
        } cases[] = {
            {"negative", -1250.5, ValueFormat::Money, "-1 250,50"},
            {"millions", 1234567.891, ValueFormat::Money, "1 234 567,89"},
            {"half a hundredth", 0.005, ValueFormat::Money, "0,01"},
            {"half a hundredth below zero", -0.005, ValueFormat::Money, "-0,01"},
            {"half a hundredth of four decimals", 1.005, ValueFormat::Money, "1,01"},
            {"nearly nothing below zero", -0.004, ValueFormat::Money, "0,00"},
            {"integer", qlonglong(-3), ValueFormat::Money, "-3,00"},
            {"largest integer", qlonglong(92233720368547758), ValueFormat::Money,
             "92 233 720 368 547 758,00"},
            {"integer beyond the range", qlonglong(-92233720368547759), ValueFormat::Money, "####"},
            {"hundredths a double holds", -9.0e13, ValueFormat::Money, "-90 000 000 000 000,00"},
            {"hundredths a double does not hold", 9.01e13, ValueFormat::Money, "####"},
            {"beyond 64 bits", -9.3e16, ValueFormat::Money, "####"},
            {"infinite", std::numeric_limits<double>::infinity(), ValueFormat::Money, "####"},
            {"not a number", nan, ValueFormat::Money, "####"},
            {"number beyond a double", qlonglong(9007199254740993), ValueFormat::Number, "9007199254740993"},
            {"number not a number", nan, ValueFormat::Number, "####"},
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << c.value << c.format << QString::fromUtf8(c.shown);
    }
    void valuesAreShownExactlyOrAsHashes()
    {
        QFETCH(QVariant, value);
        QFETCH(ValueFormat, format);
        QFETCH(QString, shown);
        QCOMPARE(formatValue(value, format), shown);
        if (value.typeId() == QMetaType::Double && format == ValueFormat::Money)
            QCOMPARE(formatMoney(value.toDouble()), shown);
    }

    void totalsAreExactOrShownAsHashes_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("sum");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("negative") << u"(-1250.5), (0.25), (NULL)"_s << u"-1 250,25 Kč"_s << -1250.25;
        QTest::newRow("half a hundredth") << u"(-0.0025), (-0.0025)"_s << u"-0,01 Kč"_s << -0.005;
        QTest::newRow("integers") << u"(-2), (1)"_s << u"-1,00 Kč"_s << -1.0;
        QTest::newRow("beyond 64 bits") << u"(922337203685477), (922337203685477)"_s << u"####"_s << nan;
        QTest::newRow("a value not held exactly") << u"(9.01e13), (1)"_s << u"####"_s << nan;
    }
    void totalsAreExactOrShownAsHashes()
    {
        QFETCH(QString, values);
        QFETCH(QString, shown);
        QFETCH(double, sum);
        Template t;
        QCOMPARE(parseTemplate(
                     u"[sestava]\nnazev = Součty\n[dotaz]\nSELECT column1 AS castka FROM (VALUES %1) AS v\n"
                     "[sloupec castka]\ntitulek = Částka\nformat = penize\n"
                     "[soucty]\nsloupce = castka\n"_s.arg(values),
                     t),
                 QString());
        ReportData data;
        QCOMPARE(runReport(t, UserData(), {}, m_sql, data), QString());
        QCOMPARE(data.totals.value(0).text, shown);
        if (qIsNaN(sum))
            QVERIFY(qIsNaN(data.total(u"castka"_s)));
        else
            QCOMPARE(data.total(u"castka"_s), sum);
    }

    // Thousands of damaged templates, made from the shipped ones and from some that go to the
    // edges (tests/fuzz): each loads or is refused naming one of its lines, and when it loads it
    // runs on the test database or is refused the same way; now and then one is painted. Nothing
    // a template holds may end the program. VESTIBOR_FUZZ_ROUNDS sets how many (20000),
    // VESTIBOR_FUZZ_SEED another series for a longer hunt.
    void damagedTemplatesNeverEndTheProgram()
    {
        QList<QByteArray> seeds;
        for (const QString& dir : {m_templates, QFINDTESTDATA("fuzz")})
            for (const QFileInfo& info : QDir(dir).entryInfoList({u"*.sestava"_s}, QDir::Files, QDir::Name)) {
                QFile file(info.filePath());
                QVERIFY(file.open(QIODevice::ReadOnly));
                seeds << file.readAll();
            }
        QCOMPARE(seeds.size(), 9);
        UserData user;
        parseParameterText(parameterText(1), user);
        const ParameterValues fromProgram{{"Zdroje", "1,2,3,5,6"}};
        for (const QByteArray& seed : std::as_const(seeds)) { // the mutants start from reports that run
            Template t;
            ReportData data;
            QCOMPARE(parseTemplateBytes(seed, t), QString());
            QCOMPARE(runReport(t, user, fromProgram, m_sql, data), QString());
        }

        static const QRegularExpression lined(u"^Řádek (\\d+): "_s);
        const auto outOfLine = [](const QString& error, const QByteArray& text) {
            const QRegularExpressionMatch m = lined.match(error);
            const int line = m.hasMatch() ? m.captured(1).toInt() : 0;
            return !error.isEmpty() && (line < 1 || line > text.count('\n') + 1);
        };
        const int rounds = qEnvironmentVariableIsSet("VESTIBOR_FUZZ_ROUNDS")
                               ? qEnvironmentVariableIntValue("VESTIBOR_FUZZ_ROUNDS")
                               : 20000;
        TemplateMutator mutator(seeds, qEnvironmentVariableIsSet("VESTIBOR_FUZZ_SEED")
                                           ? quint32(qEnvironmentVariableIntValue("VESTIBOR_FUZZ_SEED"))
                                           : 41);
        QTemporaryDir out;
        int ran = 0;
        for (int round = 0; round < rounds; ++round) {
            const QByteArray text = mutator.next();
            const auto where = [&](const QString& error) {
                return (u"mutant %1: %2\n"_s.arg(round).arg(error) + QString::fromLatin1(text.toBase64()))
                    .toUtf8();
            };
            Template t;
            QString error = parseTemplateBytes(text, t);
            if (outOfLine(error, text))
                QFAIL(where(error).constData());
            if (!error.isEmpty())
                continue;
            ReportData data;
            error = runReport(t, user, fromProgram, m_sql, data);
            if (outOfLine(error, text))
                QFAIL(where(error).constData());
            if (!error.isEmpty() || ++ran % 40 != 0)
                continue;
            error = renderToPdf(data, out.filePath(u"f.pdf"_s));
            if (!error.isEmpty())
                QFAIL(where(error).constData());
        }
        QVERIFY2(ran > rounds / 20, qPrintable(u"only %1 mutants ran"_s.arg(ran)));
    }

    void everyShippedReportPaintsToPdf()
    {
        QTemporaryDir out;
        for (const TemplateFile& file : listTemplates(m_templates)) {
            const QString pdf = out.filePath(QFileInfo(file.path).baseName() + u".pdf"_s);
            int pages = 0;
            ReportData data;
            QCOMPARE(
                renderReportToPdf(file.path, parameterText(1), m_sql, pdf, &data, &pages, {{"Zdroje", "1"}}),
                QString());
            QCOMPARE(pages, 1);
            QFile written(pdf);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QVERIFY(written.read(5) == "%PDF-");
        }
        // A file that cannot be written says why, in the system's words.
        const QString blocked = out.filePath(u"chybi/x.pdf"_s);
        QCOMPARE(renderToPdf(ReportData(), blocked),
                 u"Soubor „%1“ nelze zapsat: No such file or directory"_s.arg(blocked));
    }

    void longReportsRunOverPagesAlikeInPreviewAndPdf()
    {
        ReportData data;
        QCOMPARE(run(u"cinnosti_a_ceny.sestava"_s, 1, data), QString());
        const ReportRow row = data.rows[0];
        for (int i = 0; i < 500; ++i)
            data.rows << row;
        QTemporaryDir out;
        int pages = 0;
        QCOMPARE(renderToPdf(data, out.filePath(u"dlouha.pdf"_s), &pages), QString());
        QVERIFY2(pages >= 12 && pages <= 20, qPrintable(QString::number(pages)));
        QCOMPARE(openAndClosePreview(data), pages);
    }

    void windowListsTheReportsAndClosesAfterChoice_data()
    {
        QTest::addColumn<int>("closeAfterChoice");
        QTest::newRow("closes after the preview") << -1;
        QTest::newRow("stays open after the preview") << 0;
    }
    void windowListsTheReportsAndClosesAfterChoice()
    {
        QFETCH(int, closeAfterChoice);
        int previewPages = 0;
        bool openAfterPreview = false;
        const int result = runWindow(m_templates, parameterText(1), closeAfterChoice, [&](QDialog* window) {
            auto* list = child<QListWidget>(*window, "LB_Sestavy");
            QCOMPARE(list->count(), 5);
            QCOMPARE(list->item(1)->text(), u"Činnosti a ceny"_s);
            QCOMPARE(list->currentRow(), 0);
            QCOMPARE(child<QSpinBox>(*window, "Ed_dni")->value(), 30);
            QVERIFY(child<QLabel>(*window, "La_Popis")->text().startsWith(u"Topné zdroje"_s));
            // The letters need the cards from the program's own window.
            choose(window, u"Upozornění na revizi"_s);
            QVERIFY(message(window).startsWith(u"Tuto sestavu tiskne program ze svého okna"_s));
            QVERIFY(!child<QPushButton>(*window, "Tl_Nahled")->isEnabled());
            choose(window, u"Seznam zákazníků"_s);
            QTimer::singleShot(0, this, [&] {
                auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(preview && preview->objectName() == u"TNahledSestavy"_s);
                previewPages = child<QPrintPreviewWidget>(*preview)->pageCount();
                preview->reject();
            });
            child<QPushButton>(*window, "Tl_Nahled")->click();
            openAfterPreview = window->isVisible();
            QVERIFY(message(window).isEmpty());
        });
        QCOMPARE(result, 0);
        QCOMPARE(previewPages, 1);
        QCOMPARE(openAfterPreview, closeAfterChoice == 0);
    }

    void windowShowsEveryFaultAsAMessage()
    {
        QTemporaryDir dir;
        const auto write = [&](const QString& name, const QString& text) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text.toUtf8());
        };
        write(u"a.sestava"_s, changed(u"titulek"_s, u"nadpis"_s));
        write(u"c.sestava"_s,
              changed(u"Test\n"_s, u"Chybný dotaz\n"_s).replace(u"FROM cis_"_s, u"FROM chybi_"_s));
        QFile::copy(m_templates + u"/prehled_revizi_zakaznika.sestava"_s, dir.filePath(u"d.sestava"_s));

        const int result = runWindow(dir.path(), parameterText(0), -1, [&](QDialog* window) {
            auto* show = child<QPushButton>(*window, "Tl_Nahled");
            choose(window, u"a.sestava"_s);
            QVERIFY(!show->isEnabled());
            QCOMPARE(message(window),
                     u"Předloha „a.sestava“ obsahuje chybu.\nŘádek 6: neznámý klíč „nadpis“ "
                     "v oddílu [sloupec nazev]. Oddíl zná klíče: titulek, sirka, zarovnani, format."_s);
            choose(window, u"Chybný dotaz"_s);
            show->click();
            QVERIFY2(message(window).endsWith(missingTable(u"chybi_zakaznici"_s)),
                     qPrintable(message(window)));
            choose(window, u"Přehled revizí zákazníka"_s);
            show->click();
            QVERIFY(message(window).contains(u"žádný zákazník není otevřen"_s));
            QVERIFY(window->isVisible()); // a failed report does not close the window
        });
        QCOMPARE(result, 0);

        QTemporaryDir empty;
        runWindow(empty.path(), parameterText(1), 0, [&](QDialog* window) {
            QVERIFY(message(window).contains(u"nejsou žádné sestavy"_s));
            QVERIFY(!child<QPushButton>(*window, "Tl_Nahled")->isEnabled());
        });
        runWindow(u"Ses-neni"_s, u"nesmysl"_s, 0, [&](QDialog* window) {
            QVERIFY(message(window).contains(QCoreApplication::applicationDirPath() + u"/Ses-neni"_s));
        });
        runWindow(m_templates, u"nesmysl"_s, 0, [&](QDialog* window) {
            QVERIFY(message(window).startsWith(u"Údaje od programu nelze přečíst"_s));
            QVERIFY(!child<QPushButton>(*window, "Tl_Nahled")->isEnabled());
        });
        QCOMPARE(SestavaUNI(nullptr, nullptr, nullptr, -1, 0, nullptr), -1);
    }

    // pm41PreviewTemplate: the preview of one template at once, or a message box saying why not.
    void previewFromTheProgramOrAMessage()
    {
        const QString letters = m_templates + u"/upozorneni_na_revizi.sestava"_s;
        Shown shown;
        QCOMPARE(preview(letters, u"Zdroje|1,5,6"_s, shown), 0);
        QCOMPARE(shown.previewPages, 3);
        QVERIFY(shown.text.isEmpty());
        // A report the program feeds nothing takes its parameters' defaults.
        QCOMPARE(preview(m_templates + u"/blizici_se_revize.sestava"_s, QString(), shown), 0);
        QCOMPARE(shown.previewPages, 1);

        QCOMPARE(preview(letters, u"Zdroje|12"_s, shown), 1);
        QCOMPARE(shown.text,
                 u"Sestava „Upozornění na revizi“ neobsahuje žádné záznamy, a tak není co tisknout."_s);
        QCOMPARE(shown.previewPages, -1);

        QCOMPARE(preview(letters, u"Zdroje|1|Zdroje"_s, shown), -1);
        QCOMPARE(shown.text, u"Údaje od programu nelze přečíst: Hodnoty od programu nejsou ve tvaru "
                             "„jméno|hodnota|jméno|hodnota“: ke jménu „Zdroje“ chybí hodnota."_s);
        QCOMPARE(preview(letters, u"Zdroje|1|Karty|2"_s, shown), -1);
        QCOMPARE(shown.text,
                 u"Sestavu „Upozornění na revizi“ nelze zobrazit.\nPředloha nezná hodnotu „Karty“, "
                 "kterou jí program předává; přijímá jen: Zdroje."_s);
        QCOMPARE(preview(letters, QString(), shown), -1);
        QVERIFY(shown.text.contains(u"Řádek 14: sestava potřebuje hodnotu „Zdroje“"_s));
        QCOMPARE(preview(letters, u"Zdroje|1"_s, shown, u"nesmysl"_s), -1);
        QVERIFY(shown.text.startsWith(u"Údaje od programu nelze přečíst: Text parametrů"_s));

        // The path is relative to the program's directory; the template and its query may be at fault.
        QCOMPARE(preview(u"Ses-neni/x.sestava"_s, QString(), shown), -1);
        QCOMPARE(shown.text, u"Předloha sestavy „%1/Ses-neni/x.sestava“ neexistuje."_s.arg(
                                 QCoreApplication::applicationDirPath()));
        QTemporaryDir dir;
        const auto write = [&](const QString& name, const QString& text) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text.toUtf8());
        };
        write(u"a.sestava"_s, changed(u"titulek"_s, u"nadpis"_s));
        QCOMPARE(preview(dir.filePath(u"a.sestava"_s), QString(), shown), -1);
        QVERIFY(
            shown.text.startsWith(u"Předloha „a.sestava“ obsahuje chybu.\nŘádek 6: neznámý klíč „nadpis“"_s));
        write(u"b.sestava"_s, changed(u"FROM cis_"_s, u"FROM chybi_"_s));
        QCOMPARE(preview(dir.filePath(u"b.sestava"_s), QString(), shown), -1);
        QCOMPARE(shown.text,
                 u"Sestavu „Test“ nelze zobrazit.\nŘádek 4: dotaz sestavy skončil chybou databáze: "_s +
                     missingTable(u"chybi_zakaznici"_s));

        // Without a widget application nothing can be shown.
        QCOMPARE(preview(letters, u"Zdroje|1"_s, shown, parameterText(0), nullptr), -1);
        QCOMPARE(shown.previewPages, -1);
        QVERIFY(shown.text.isEmpty());
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestPM41)
#include "tst_pm41.moc"
