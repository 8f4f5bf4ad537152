// Start-up and shutdown of the main window, with every road that ends the program.
#include "app/Hlavni_f.h"
#include "helpers/Password.h"
#include "helpers/ProgramDirectory.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/ServerDatabase.h"
#include "support/FindChild.h"
#include "support/ProgramDir.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/TestServerDatabase.h"
#include "uikit/CommandNames.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

// The settings of a program on that server database.
QByteArray serverSettings(const QMap<QString, QString>& parts, const QString& database,
                          const QString& host = QString())
{
    return QStringLiteral("[konfig]\r\nhsl=0\r\n[databaze]\r\nTyp=server\r\nServer=%1\r\nPort=%2\r\n"
                          "Databaze=%3\r\nUzivatel=%4\r\n")
        .arg(host.isEmpty() ? parts.value(QStringLiteral("host")) : host, parts.value(QStringLiteral("port")),
             database, parts.value(QStringLiteral("user")))
        .toUtf8();
}

// The rows of a query on the server, a line each.
QStringList rows(QSqlDatabase& db, const QString& sql)
{
    QStringList out;
    QSqlQuery query(db);
    if (!query.exec(sql))
        return {QStringLiteral("error: ") + query.lastError().text()};
    while (query.next())
        out << query.value(0).toString();
    return out;
}
const QString connectFailed = QStringLiteral("Selhalo připojení k databázi. Aplikace bude ukončena.");

int tableCount(const QString& path, const QString& sql)
{
    Connection c(QStringLiteral("check"));
    c.open(path);
    return c.query(sql).rows.size();
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void startsWithPasswordOffAndNoCustomerOpen()
    {
        ProgramDir dir;
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(window.FormCreate());
        QCOMPARE(window.windowTitle(), QStringLiteral("Vestibor"));
        QCOMPARE(window.context().AdresarProgramu, dir.dir());
        QCOMPARE(window.records().IdOtevrenehoZakaznika, 0);
        QVERIFY(!window.action(Akce_ZavritZakaznika)->isEnabled());
        QVERIFY(window.action(Akce_OtevritZakaznika)->isEnabled());
        QVERIFY(!window.action(Akce_ZmenaHesla)->isVisible());
        QVERIFY(child<QLabel>(window, "La_OtevrenyZakaznik")->text().isEmpty());
        QVERIFY(child<QWidget>(window, "Panel_TZ")->isHidden());
        QVERIFY(child<QWidget>(window, "Panel_Cinnosti")->isHidden());
        QVERIFY(window.records().DS_Kategorie->isOpen());
        QVERIFY(window.records().DS_Cin2->isOpen());
        QVERIFY(QFileInfo(dir.path(QStringLiteral("Ses"))).isDir());
        QCOMPARE(window.minimumSize(), QSize(972, 601 + window.menuBar()->sizeHint().height()));
        const Placement p = window.context().PoziceCiselnikuZakazniku;
        QCOMPARE(QPoint(p.left, p.top), window.pos() + QPoint(80, 80));
        QCOMPARE(p.width, -1);
    }

    void withoutASettingsFileThePasswordIsAsked()
    {
        ProgramDir dir;
        QFile::remove(dir.path(QStringLiteral("Vestibor.ini")));
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(!window.FormCreate());
        dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral(
                "Nebyl nalezen soubor \"Vestibor.heslo\".\r\nChybu napravíte přeinstalací programu."));
        QVERIFY(!QFile::exists(dir.path(QStringLiteral("Vestibor.ini")))); // start-up writes no settings
    }

    void passwordRoadsAtStartUp()
    {
        ProgramDir dir;
        dir.writeIni("[konfig]\r\nhsl=1\r\n");
        Password::writePasswordFile(dir.path(QStringLiteral("Vestibor.heslo")), QStringLiteral("tajne"));
        TestDialogs dialogs;
        {
            dialogs.answerInput(std::nullopt);
            THlavni window(dir.dir());
            QVERIFY(!window.FormCreate()); // cancelled: ends without any message
            QCOMPARE(dialogs.pending(), 0);
        }
        {
            dialogs.answerInput(QStringLiteral("spatne"));
            THlavni window(dir.dir());
            QVERIFY(!window.FormCreate());
            dialogs.takeMessage(MessageKind::Warning, QStringLiteral("Pozor"),
                                QStringLiteral("Zadali jste neplatné heslo!\r\nOpakujte zadání hesla."));
            QVERIFY(!window.context().connection.isOpen()); // the database is not even opened
        }
        {
            dialogs.answerInput(QStringLiteral(" tajne "));
            THlavni window(dir.dir());
            QVERIFY(window.FormCreate());
            QVERIFY(window.action(Akce_ZmenaHesla)->isVisible());
        }
    }

    void aMissingDatabaseIsNamedByItsFullPathAndNotCreated()
    {
        ProgramDir dir(false);
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(!window.FormCreate());
        const QString path = dir.path(QStringLiteral("Vestibor.mdb"));
        dialogs.takeMessage(
            MessageKind::Warning, QStringLiteral("Vestibor"),
            QStringLiteral("Nebyl nalezen soubor databáze \"") + path +
                QStringLiteral("\" a pokus o jeho nové založení selhal.\r\nAplikace bude ukončena."));
        QVERIFY(!QFile::exists(path));
    }

    void aFileThatIsNotADatabaseEndsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("[uzivatel]\nNazevSubjektu=x\n");
        QByteArray jet(8192, '\0');
        jet.replace(4, 15, "Standard Jet DB");
        QTest::newRow("another engine") << jet;
        QTest::newRow("binary") << QByteArray(1000, '\xAB');
    }
    void aFileThatIsNotADatabaseEndsTheProgram()
    {
        QFETCH(QByteArray, content);
        ProgramDir dir(false);
        dir.writeFile(QStringLiteral("Vestibor.mdb"), content);
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(!window.FormCreate());
        dialogs.takeMessage(MessageKind::Warning, QStringLiteral("Vestibor"), connectFailed);
        QCOMPARE(dir.readFile(QStringLiteral("Vestibor.mdb")), content); // left as it was
    }

    void aDatabaseWithoutTablesShowsTheEngineErrorAndGoesOn()
    {
        ProgramDir dir(false);
        dir.writeFile(QStringLiteral("Vestibor.mdb"), QByteArray());
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(window.FormCreate());
        const DialogCall call = dialogs.take();
        QCOMPARE(call.kind, MessageKind::Error);
        QVERIFY2(call.text.contains(QStringLiteral("cis_zakaznici")), qPrintable(call.text));
        QCOMPARE(dir.readFile(QStringLiteral("Vestibor.mdb")), QByteArray());
    }

    void aLockedDatabaseEndsTheProgram()
    {
        ProgramDir dir;
        Connection locker(QStringLiteral("locker"));
        locker.open(dir.path(QStringLiteral("Vestibor.mdb")));
        locker.execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        locker.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(!window.FormCreate());
        dialogs.takeMessage(MessageKind::Warning, QStringLiteral("Vestibor"), connectFailed);
        locker.execute(QStringLiteral("COMMIT"));
    }

    void theTemplateDirectoryIsCreatedOrItsFailureReported()
    {
        ProgramDir dir;
        {
            TestDialogs dialogs;
            THlavni window(dir.dir() + QStringLiteral("dalsi/uroven/"));
            QVERIFY(!window.FormCreate()); // Ses made with its parents, then no database there
            QVERIFY(QFileInfo(dir.path(QStringLiteral("dalsi/uroven/Ses"))).isDir());
            dialogs.take();
        }
        dir.writeFile(QStringLiteral("Ses"), "not a directory");
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(!window.FormCreate());
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Nebyl nalezen adresář Ses a pokus o jeho založení selhal.\r\n"
                                           "Chybu napravíte přeinstalací programu."));
        QVERIFY(!window.context().connection.isOpen());
    }

    void anOlderDatabaseGainsTheCompanyColumnOnce()
    {
        ProgramDir dir;
        {
            Connection c(QStringLiteral("old"));
            c.open(dir.path(QStringLiteral("Vestibor.mdb")));
            c.execute(QStringLiteral("ALTER TABLE cis_zakaznici DROP COLUMN je_firma"));
            c.execute(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Starý')"));
        }
        const QString columns = QStringLiteral("SELECT name FROM pragma_table_info('cis_zakaznici')");
        QCOMPARE(tableCount(dir.path(QStringLiteral("Vestibor.mdb")), columns), 15);
        TestDialogs dialogs;
        for (int start = 0; start < 2; ++start) {
            THlavni window(dir.dir());
            QVERIFY(window.FormCreate());
            window.close();
        }
        QCOMPARE(tableCount(dir.path(QStringLiteral("Vestibor.mdb")), columns), 16);
    }

    void withoutThePlanTablesTheProgramStartsWithoutThePlan()
    {
        ProgramDir dir;
        {
            Connection c(QStringLiteral("old"));
            c.open(dir.path(QStringLiteral("Vestibor.mdb")));
            c.execute(QStringLiteral("DROP VIEW pristi_revize"));
            c.execute(QStringLiteral("CREATE TABLE pristi_revize (x INTEGER)")); // the view cannot be made
        }
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(window.FormCreate());
        dialogs.takeMessage(
            MessageKind::Warning, QStringLiteral("Chyba"),
            QStringLiteral("Konverze souboru databáze se nezdařila. Kontaktujte autora programu."));
        QVERIFY(!window.action(Akce_PlanRevizi)->isEnabled());
        QVERIFY(window.overdueLabel()->isHidden());
        QCOMPARE(window.openPlan(false), nullptr);
    }

    void theServerOfTheSettingsReplacesTheFile()
    {
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QSqlQuery(server.db())
            .exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Na serveru')"));
        const QMap<QString, QString> parts = ServerDatabase::parseConnectionString(server.connectionString());
        ProgramDir dir(false); // no database file at all
        const auto settings = [&](const QString& database, const QString& host = QString()) {
            return serverSettings(parts, database, host);
        };
        dir.writeIni(settings(parts.value(QStringLiteral("dbname"))));
        {
            TestDialogs dialogs;
            THlavni window(dir.dir());
            QVERIFY(window.FormCreate());
            QVERIFY(window.context().connection.isServer());
            QCOMPARE(window.context().store.NazevZakaznika(1), QStringLiteral("Na serveru"));
            QVERIFY(window.action(Akce_PlanRevizi)->isEnabled());
            window.close();
        }
        // A database the server does not have ends the program with the server's reason.
        dir.writeIni(settings(QStringLiteral("neni_tu")));
        TestDialogs dialogs;
        THlavni window(dir.dir());
        QVERIFY(!window.FormCreate());
        const DialogCall failure = dialogs.take();
        QCOMPARE(failure.kind, MessageKind::Warning);
        QVERIFY2(failure.text.startsWith(
                     QStringLiteral("Selhalo připojení k databázovému serveru %1:%2/neni_tu.\r\n")
                         .arg(parts.value(QStringLiteral("host")), parts.value(QStringLiteral("port")))),
                 qPrintable(failure.text));
        QVERIFY2(failure.text.contains(QStringLiteral("neni_tu")) &&
                     failure.text.endsWith(QStringLiteral("\r\nAplikace bude ukončena.")),
                 qPrintable(failure.text));

        // A server that is not there: its name and the reason.
        dir.writeIni(settings(parts.value(QStringLiteral("dbname")), QStringLiteral("/tmp/zadny-server")));
        QVERIFY(!THlavni(dir.dir()).FormCreate());
        const DialogCall noServer = dialogs.take();
        QVERIFY2(noServer.text.startsWith(
                     QStringLiteral("Selhalo připojení k databázovému serveru /tmp/zadny-server:")) &&
                     noServer.text.contains(QStringLiteral("No such file or directory")),
                 qPrintable(noServer.text));

        // A database the preparing tool has not laid out is not laid out by the program.
        TestServerDatabase empty;
        dir.writeIni(settings(
            ServerDatabase::parseConnectionString(empty.connectionString()).value(QStringLiteral("dbname"))));
        QVERIFY(!THlavni(dir.dir()).FormCreate());
        dialogs.takeMessage(
            MessageKind::Warning, QStringLiteral("Vestibor"),
            QStringLiteral("Databáze %1:%2/%3 neobsahuje tabulky programu. Připravte ji nástrojem "
                           "vestibor_prepare --server.\r\nAplikace bude ukončena.")
                .arg(parts.value(QStringLiteral("host")), parts.value(QStringLiteral("port")),
                     ServerDatabase::parseConnectionString(empty.connectionString())
                         .value(QStringLiteral("dbname"))));
        QCOMPARE(rows(empty.db(),
                      QStringLiteral(
                          "SELECT count(*) FROM information_schema.tables WHERE table_schema = 'public'")),
                 QStringList{"0"});
    }

    // The test server's user vestibor_heslo signs in with a password that neither PGPASSWORD
    // nor a password file gives: the program asks for it once, hidden, and keeps it nowhere.
    void thePasswordTheServerAsksForIsAskedOnce()
    {
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QMap<QString, QString> parts = ServerDatabase::parseConnectionString(server.connectionString());
        parts.insert(QStringLiteral("user"), QStringLiteral("vestibor_heslo"));
        ProgramDir dir(false);
        dir.writeIni(serverSettings(parts, parts.value(QStringLiteral("dbname"))));
        qunsetenv("PGPASSWORD");
        qputenv("PGPASSFILE", dir.path(QStringLiteral("zadny.pgpass")).toLocal8Bit());
        const QString shown =
            QStringLiteral("%1:%2/%3")
                .arg(parts.value(QStringLiteral("host")), parts.value(QStringLiteral("port")),
                     parts.value(QStringLiteral("dbname")));
        const auto start = [&](std::optional<QString> typed) {
            TestDialogs dialogs;
            dialogs.answerInput(std::move(typed));
            THlavni window(dir.dir());
            const bool started = window.FormCreate();
            [&] {
                QCOMPARE(dialogs.inputCaptions, QStringList{QStringLiteral("Heslo k databázi")});
                QCOMPARE(dialogs.inputsMasked, QList<bool>{true});
            }();
            const QString message = dialogs.pending() ? dialogs.take().text : QString();
            return std::pair(started, message);
        };

        const auto [started, message] = start(QStringLiteral("heslo-k-testum"));
        QVERIFY2(started && message.isEmpty(), qPrintable(message));

        const auto [wrongStarted, wrong] = start(QStringLiteral("spatne"));
        QVERIFY(!wrongStarted);
        QVERIFY2(
            wrong.startsWith(QStringLiteral("Selhalo připojení k databázovému serveru %1.\r\n").arg(shown)) &&
                wrong.contains(QStringLiteral("password authentication failed")),
            qPrintable(wrong));

        const auto [cancelledStarted, cancelled] = start(std::nullopt);
        QVERIFY(!cancelledStarted);
        QVERIFY2(cancelled.contains(QStringLiteral("no password supplied")), qPrintable(cancelled));
        QVERIFY(!dir.readFile(QStringLiteral("Vestibor.ini")).contains("heslo-k-testum"));

        // libpq says whether it wants a password; the words of a failure are not read (they
        // differ with libpq's language). A user who needs none, on a database the server
        // lacks whose name reads like that failure, is not asked.
        parts.insert(QStringLiteral("user"), QStringLiteral("vestibor"));
        dir.writeIni(serverSettings(parts, QStringLiteral("no password supplied")));
        {
            TestDialogs dialogs;
            QVERIFY(!THlavni(dir.dir()).FormCreate());
            QVERIFY(dialogs.inputCaptions.isEmpty());
            const QString missing = dialogs.take().text;
            QVERIFY2(missing.contains(QStringLiteral("\"no password supplied\" does not exist")),
                     qPrintable(missing));
        }
        qunsetenv("PGPASSFILE");
    }

    void theProgramDirectoryComesFromTheOptionTheEnvironmentOrTheProgram()
    {
        const QString program = QStringLiteral("/usr/lib/vestibor");
        const QString firm = QStringLiteral("/srv/firma");
        auto chosen = [&](const QStringList& args, const QString& env = QString()) {
            const ProgramDirectoryChoice c =
                chooseProgramDirectory(QStringList{QStringLiteral("Vestibor")} + args, env, program);
            return c.directory.isEmpty() ? QStringLiteral("error: ") + c.error : c.directory;
        };
        QCOMPARE(chosen({}), program);
        QCOMPARE(chosen({}, firm), firm);
        QCOMPARE(chosen({QStringLiteral("--adresar"), QStringLiteral("/home/jan/Vestibor")}, firm),
                 QStringLiteral("/home/jan/Vestibor"));
        QCOMPARE(chosen({QStringLiteral("--adresar=/home/jan/Vestibor")}),
                 QStringLiteral("/home/jan/Vestibor"));
        QCOMPARE(chosen({QStringLiteral("--adresar")}, firm),
                 QStringLiteral("error: Za volbou --adresar chybí adresář."));
        QCOMPARE(chosen({QStringLiteral("--adresar=")}),
                 QStringLiteral("error: Za volbou --adresar chybí adresář."));
        QCOMPARE(chosen({QStringLiteral("--adresr"), firm}),
                 QStringLiteral("error: Neznámá volba „--adresr“."));
        QCOMPARE(chosen({QStringLiteral("--adresr=/srv")}),
                 QStringLiteral("error: Neznámá volba „--adresr=/srv“."));
        QCOMPARE(chosen({QStringLiteral("-x")}), QStringLiteral("error: Neznámá volba „-x“."));
        QCOMPARE(chosen({QStringLiteral("/home/jan/Vestibor")}),
                 QStringLiteral("error: Neznámá volba „/home/jan/Vestibor“."));
        QCOMPARE(chosen({QStringLiteral("--adresar=/a"), QStringLiteral("--adresar"), QStringLiteral("/b")}),
                 QStringLiteral("/b"));

        // The help, in Czech, names the option and the variable, and chooses no directory.
        for (const QString& asked : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            const ProgramDirectoryChoice help =
                chooseProgramDirectory({QStringLiteral("Vestibor"), asked}, firm, program);
            QVERIFY(help.directory.isEmpty() && help.error.isEmpty());
            QVERIFY2(help.help.contains(QStringLiteral("--adresar <adresář programu>")) &&
                         help.help.contains(QStringLiteral("VESTIBOR_ADRESAR")) &&
                         help.help.contains(QStringLiteral("Vypíše tuto nápovědu.")),
                     qPrintable(help.help));
        }
    }

    void shutdownClosesTheDataSetsAndWritesNoSettings()
    {
        ProgramDir dir;
        TestDialogs dialogs;
        const QByteArray settings = dir.readFile(QStringLiteral("Vestibor.ini"));
        THlavni window(dir.dir());
        QVERIFY(window.FormCreate());
        window.show();
        window.action(Akce_Konec)->trigger();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.records().DS_Kategorie->isOpen());
        QVERIFY(!window.records().DS_Cin2->isOpen());
        QCOMPARE(dir.readFile(QStringLiteral("Vestibor.ini")), settings);
    }
};

VESTIBOR_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
