// The shared server database: reading connection strings, laying out the schema on a real
// PostgreSQL server and moving a database file into it.
#include "records/CardPanel.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "store/ServerDatabase.h"
#include "support/KeptNextInspections.h"
#include "support/MainWindowFixture.h"
#include "support/ProgramDir.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/TestServerDatabase.h"
#include "support/Typing.h"
#include "uikit/RecordPanel.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>

namespace {

// The rows of a query on the server, a line each, the values joined by "|".
QStringList rows(QSqlDatabase& db, const QString& sql)
{
    QStringList out;
    QSqlQuery query(db);
    if (!query.exec(sql))
        return {QStringLiteral("error: ") + query.lastError().text()};
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << (query.isNull(i) ? QString() : query.value(i).toString());
        out << values.join(u'|');
    }
    return out;
}

QString refusal(const std::function<void()>& work)
{
    try {
        work();
    } catch (const DatabaseError& e) {
        return e.text();
    }
    return QStringLiteral("(nothing refused)");
}

// A user who reads customer 1, changes the town and saves, on a connection of its own in a
// thread of its own (a connection belongs to the thread that opened it). outcome gets what
// the save was refused with, or stays empty when it went through.
std::unique_ptr<QThread> saveTownInThread(const QString& connectionString, const QString& town,
                                          QString& outcome)
{
    return std::unique_ptr<QThread>(QThread::create([connectionString, town, &outcome] {
        try {
            Connection connection(QStringLiteral("user"));
            connection.openServer(connectionString);
            DataSet customer(connection, QStringLiteral("DS_Zakaznik"));
            customer.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici WHERE id = 1"));
            customer.open();
            customer.edit();
            customer.setValue(QStringLiteral("mesto"), town);
            customer.post();
        } catch (const AppError& e) {
            outcome = e.text();
        }
    }));
}

} // namespace

class TestServer : public QObject
{
    Q_OBJECT

private slots:
    void connectionStringsAreReadAsLibpqReadsThem()
    {
        const QMap<QString, QString> parts = ServerDatabase::parseConnectionString(QStringLiteral(
            "  host=db.firma.lan port = 5433 dbname='Vestibor firmy' password='a\\'b\\\\c' user=kancelar"));
        QCOMPARE(parts.value(QStringLiteral("host")), QStringLiteral("db.firma.lan"));
        QCOMPARE(parts.value(QStringLiteral("port")), QStringLiteral("5433"));
        QCOMPARE(parts.value(QStringLiteral("dbname")), QStringLiteral("Vestibor firmy"));
        QCOMPARE(parts.value(QStringLiteral("password")), QStringLiteral("a'b\\c"));
        QCOMPARE(parts.value(QStringLiteral("user")), QStringLiteral("kancelar"));
        QCOMPARE(refusal([] {
                     ServerDatabase::parseConnectionString(QStringLiteral("host=x dbname='nedokončeno"));
                 }),
                 QStringLiteral("V připojovacím řetězci serveru chybí uzavírací apostrof u „dbname“."));
        QCOMPARE(refusal([] { ServerDatabase::parseConnectionString(QStringLiteral("host=x port")); }),
                 QStringLiteral("Připojovacímu řetězci serveru nerozumím u „port“."));
        // A server that is not there is named with the server's own reason.
        QVERIFY(refusal([] {
                    ServerDatabase::connect(
                        QStringLiteral("host=/nonexistent port=1 dbname=x connect_timeout=2"),
                        QStringLiteral("nowhere"));
                }).contains(QStringLiteral("/nonexistent")));
    }

    void theSchemaSortsCzechAndIsBuiltOnlyInAnEmptyDatabase()
    {
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QSqlQuery insert(server.db());
        QVERIFY(insert.exec(
            QStringLiteral("INSERT INTO cis_zakaznici (nazev, hlidani_revizi) VALUES ('Hora', true), "
                           "('Čech', false), ('Chalupa', NULL), ('Cyril', true)")));
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY nazev")),
                 (QStringList{"Cyril", "Čech", "Hora", "Chalupa"}));
        QVERIFY(insert.exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, "
                                           "vyrobni_cislo) VALUES (1, 'Kotel', 'K', 1, 'SN-ab')")));
        QCOMPARE(
            rows(server.db(), QStringLiteral("SELECT nazev FROM topny_zdroj WHERE vyrobni_cislo = 'sn-AB' "
                                             "COLLATE caseless")),
            QStringList{"Kotel"});
        // Text longer than its column is refused, as in the file.
        QVERIFY(!insert.exec(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES "
                                            "(repeat('x', 51), 12)")));
        QCOMPARE(refusal([&] { ServerDatabase::createSchema(server.db()); }).left(40),
                 QStringLiteral("Databáze „%1“ na serveru už obsahuje tabulky.")
                     .arg(server.db().databaseName())
                     .left(40));
    }

    void aDatabaseFileMovesInWithItsIdsAndExactValues()
    {
        ProgramDir dir;
        Connection file(QStringLiteral("file"));
        file.open(dir.path(QStringLiteral("Vestibor.mdb")));
        file.execute(
            QStringLiteral("INSERT INTO cis_zakaznici (nazev, hlidani_revizi, je_firma) VALUES "
                           "('Novák', 1, 0), ('Smazaný', 0, 1), ('Dvořák', NULL, 1), ('Poslední', 0, 0)"));
        file.execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE nazev IN ('Smazaný', 'Poslední')"));
        file.execute(
            QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, rok_vyroby, "
                           "vyrazeno_dne, poznamka) VALUES (3, 'Kotel', 'K', 1, 2019, '2024-02-29', "
                           "'řádek 1\nřádek 2')"));
        file.execute(
            QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, "
                           "cena_prace, cena_material) VALUES (3, 1, 1, '2025-01-31', 1234.5678, -0.5)"));
        file.execute(QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (7, 'Jiří')"));
        file.execute(QStringLiteral("INSERT INTO upozorneni (id_topneho_zdroje, datum, zpusob) VALUES "
                                    "(1, '2026-12-01', 'ručně')"));
        // A card in service, whose next inspection the server works out as it copies.
        file.execute(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) "
                                    "VALUES (1, 'Kamna', 'K', 1)"));
        file.execute(QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, "
                                    "datum_pristi) VALUES (1, 2, 1, '2026-05-04', '2027-05-04')"));
        file.execute(
            QStringLiteral("INSERT INTO web_ucty (login, role, technik, heslo, aktivni, zmenit_heslo, "
                           "vytvoreno) VALUES ('jiri', 'technik', 7, '$argon2id$x', 1, 0, "
                           "'2026-03-01 07:08:09')"));

        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QStringList progress;
        ServerDatabase::copyFromFile(file, server.db(), [&](const QString& table, int count) {
            progress << QStringLiteral("%1 %2").arg(table).arg(count);
        });
        QCOMPARE(progress, (QStringList{"cis_zakaznici 2", "cis_technici 1", "topny_zdroj 2", "cinnosti 2",
                                        "upozorneni 1", "web_ucty 1"}));
        QCOMPARE(
            rows(server.db(), QStringLiteral("SELECT login, aktivni, vytvoreno::text, posledni_prihlaseni "
                                             "FROM web_ucty")),
            QStringList{"jiri|true|2026-03-01 07:08:09|"});
        Connection onServer(QStringLiteral("copied"));
        onServer.openServer(server.connectionString());
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT id_topneho_zdroje, datum, hlidani_revizi "
                                                  "FROM pristi_revize_karet")),
                 QStringList{"2|2027-05-04|true"});
        QCOMPARE(keptNextInspectionsDiffer(onServer), QString());
        // Read through the program's own path: money exact, dates as dates, a "?" in quotes is
        // text, a text (even a null QString) is not null.
        const ResultSet read = onServer.query(
            QStringLiteral(
                "SELECT cena_prace, cena_doprava, datum, '?' || ? AS otaznik, CAST(? AS text) AS prazdny, "
                "CAST(? AS text) IS NULL AS nic FROM cinnosti WHERE id = ?"),
            {QStringLiteral("x"), QString(), QVariant(), 1});
        QCOMPARE(read.rows.value(0),
                 (QList<QVariant>{QStringLiteral("1234.5678"), QVariant(), QDate(2025, 1, 31),
                                  QStringLiteral("?x"), QStringLiteral(""), true}));
        QCOMPARE(read.columns.value(0).kind, ColumnKind::Money);
        QCOMPARE(read.columns.value(2).kind, ColumnKind::Date);
        QCOMPARE(
            rows(server.db(), QStringLiteral("SELECT id, nazev, hlidani_revizi, je_firma FROM cis_zakaznici "
                                             "ORDER BY id")),
            (QStringList{"1|Novák|true|false", "3|Dvořák||true"}));
        QCOMPARE(
            rows(server.db(),
                 QStringLiteral("SELECT rok_vyroby, vyrazeno_dne, poznamka FROM topny_zdroj WHERE id = 1")),
            QStringList{"2019|2024-02-29|řádek 1\nřádek 2"});
        QCOMPARE(rows(server.db(),
                      QStringLiteral("SELECT datum, cena_prace::text, cena_material::text, cena_doprava "
                                     "FROM cinnosti WHERE id = 1")),
                 QStringList{"2025-01-31|1234.5678|-0.5000|"});
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT cislo, jmeno_technika FROM cis_technici")),
                 QStringList{"7|Jiří"});
        // Ids the file gave once, the deleted last customer's included, are never given again.
        QCOMPARE(rows(server.db(),
                      QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Nový') RETURNING id")),
                 QStringList{"5"});
        QCOMPARE(rows(server.db(), QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES "
                                                  "('Kotle', 12) RETURNING id")),
                 QStringList{"1"});
        // A second copy finds data there and changes nothing.
        QCOMPARE(refusal([&] { ServerDatabase::copyFromFile(file, server.db()); }),
                 QStringLiteral(
                     "Tabulka cis_zakaznici na serveru už obsahuje data; přenáší se jen do nové databáze."));
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT count(*) FROM cis_zakaznici")), QStringList{"3"});
    }

    // The firm's one command: the schema and the copy of its file; a second run and a
    // missing file are refused with the reason and an exit code.
    void thePreparingToolLaysOutAndCopiesInOneCommand()
    {
        ProgramDir dir;
        {
            Connection file(QStringLiteral("file"));
            file.open(dir.path(QStringLiteral("Vestibor.mdb")));
            file.execute(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Novák'), ('Čech')"));
        }
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        const auto prepare = [&](const QStringList& args) {
            QProcess tool;
            tool.setProcessChannelMode(QProcess::MergedChannels);
            tool.start(QStringLiteral(VESTIBOR_PREPARE_TOOL), args);
            const bool finished = tool.waitForFinished(60000);
            return std::pair(finished ? tool.exitCode() : -1, QString::fromUtf8(tool.readAll()));
        };
        const QStringList copy{QStringLiteral("--server"), server.connectionString(),
                               QStringLiteral("--copy"), dir.path(QStringLiteral("Vestibor.mdb"))};
        const auto [code, error] = prepare(copy);
        QVERIFY2(code == 0, qPrintable(error));
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT id, nazev FROM cis_zakaznici ORDER BY nazev")),
                 (QStringList{"2|Čech", "1|Novák"}));

        const auto [again, refused] = prepare(copy);
        QCOMPARE(again, 1);
        QVERIFY2(refused.contains(QStringLiteral("už obsahuje tabulky")), qPrintable(refused));
        const auto [missing, noFile] =
            prepare({QStringLiteral("--server"), server.connectionString(), QStringLiteral("--copy"),
                     dir.path(QStringLiteral("neni.mdb"))});
        QCOMPARE(missing, 1);
        QVERIFY2(noFile.contains(QStringLiteral("neni.mdb")), qPrintable(noFile));
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT count(*) FROM cis_zakaznici")), QStringList{"2"});

        // A wrong command line is named with the help, in Czech, and nothing is laid out.
        const QString elsewhere = dir.path(QStringLiteral("jinam"));
        const auto [wrong, wrongText] =
            prepare({QStringLiteral("--copy"), dir.path(QStringLiteral("Vestibor.mdb")), elsewhere});
        QCOMPARE(wrong, 2);
        QVERIFY2(wrongText.contains(QStringLiteral("Volba --copy platí jen s volbou --server.")) &&
                     wrongText.contains(QStringLiteral("--server <připojovací řetězec>")),
                 qPrintable(wrongText));
        QVERIFY(!QFileInfo::exists(elsewhere));
        const auto [helped, help] = prepare({QStringLiteral("--help")});
        QCOMPARE(helped, 0);
        QVERIFY2(help.startsWith(QStringLiteral("Použití: ")) &&
                     help.contains(QStringLiteral("--copy <Vestibor.mdb>")) &&
                     help.contains(QStringLiteral("Vypíše tuto nápovědu.")),
                 qPrintable(help));
    }

    // A later version's index or view replaces the one of an earlier version, once; the
    // tables and their rows stay.
    void anUpgradeRemakesWhatALaterVersionDefinesOtherwise()
    {
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QSqlQuery(server.db()).exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Alfa')"));
        // as an earlier version made it, without a note
        QSqlQuery(server.db()).exec(QStringLiteral("DROP INDEX ix_cinnosti_karta"));
        QSqlQuery(server.db())
            .exec(
                QStringLiteral("CREATE INDEX ix_cinnosti_karta ON cinnosti (id_topneho_zdroje, datum, id)"));
        const auto indexDefinition = [&] {
            return rows(
                server.db(),
                QStringLiteral("SELECT indexdef FROM pg_indexes WHERE indexname = 'ix_cinnosti_karta'"));
        };
        const auto identities = [&] {
            return rows(server.db(),
                        QStringLiteral("SELECT relname || '/' || oid FROM pg_class WHERE relname LIKE 'ix_%' "
                                       "OR relname = 'pristi_revize' ORDER BY relname"));
        };
        const QStringList before = identities();

        Connection connection(QStringLiteral("upgrade"));
        connection.openServer(server.connectionString());
        QVERIFY(Schema::upgrade(connection));
        QVERIFY2(
            indexDefinition().value(0).endsWith(QStringLiteral("(id_topneho_zdroje, datum, id, cinnost)")),
            qPrintable(indexDefinition().value(0)));
        const QStringList after = identities();
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i) // only the changed index is new
            QCOMPARE(after[i] == before[i], !after[i].startsWith(QStringLiteral("ix_cinnosti_karta/")));

        QVERIFY(Schema::upgrade(connection)); // nothing left to do
        QCOMPARE(identities(), after);
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT nazev FROM cis_zakaznici")), QStringList{"Alfa"});
    }

    // A database laid out before the web app gains its tables at start-up, times as times.
    void anUpgradeAddsTheWebTables()
    {
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QSqlQuery(server.db()).exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Alfa')"));
        for (const char* table : {"web_ucty", "web_relace", "web_audit", "web_prijato"})
            QVERIFY(QSqlQuery(server.db()).exec(QStringLiteral("DROP TABLE ") + QLatin1String(table)));
        const QString webObjects = QStringLiteral(
            "SELECT relname FROM pg_class WHERE relname LIKE 'web\\_%' OR relname LIKE 'ix\\_web%' "
            "ORDER BY relname");
        QCOMPARE(rows(server.db(), webObjects), QStringList());

        Connection connection(QStringLiteral("upgrade"));
        connection.openServer(server.connectionString());
        QVERIFY(Schema::upgrade(connection));
        QCOMPARE(
            rows(server.db(), webObjects),
            (QStringList{"ix_web_audit_cas", "ix_web_relace_ucet", "web_audit", "web_audit_id_seq",
                         "web_audit_pkey", "web_prijato", "web_prijato_pkey", "web_relace", "web_relace_pkey",
                         "web_ucty", "web_ucty_id_seq", "web_ucty_login_key", "web_ucty_pkey"}));
        const QList<ColumnInfo> accounts = connection.tableColumns(QStringLiteral("web_ucty"));
        QCOMPARE(accounts[7].name, QStringLiteral("vytvoreno"));
        QCOMPARE(accounts[7].kind, ColumnKind::DateTime);
        QCOMPARE(accounts[8].kind, ColumnKind::DateTime);
        QCOMPARE(
            rows(server.db(), QStringLiteral("SELECT data_type FROM information_schema.columns WHERE "
                                             "table_name = 'web_relace' AND column_name = 'platnost_do'")),
            QStringList{"timestamp without time zone"});
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT nazev FROM cis_zakaznici")), QStringList{"Alfa"});
    }

    // Two users save the same customer at the same moment. The first one's update is held in
    // a trigger while its transaction has the row; the second save waits for it and is then
    // refused, instead of writing over a row its user never saw.
    void twoSavesAtOnceNeverBothPass()
    {
        TestServerDatabase server;
        QVERIFY2(server.ok(), qPrintable(server.error()));
        ServerDatabase::createSchema(server.db());
        QSqlQuery admin(server.db());
        QVERIFY(
            admin.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev, mesto) VALUES ('Novák', 'Brno')")));
        // The trigger waits for a lock the test holds until both saves are under way: no timing.
        QVERIFY(admin.exec(
            QStringLiteral("CREATE FUNCTION zdrzet() RETURNS trigger LANGUAGE plpgsql AS "
                           "$body$BEGIN PERFORM pg_advisory_xact_lock_shared(1); RETURN NEW; END$body$")));
        QVERIFY(admin.exec(QStringLiteral(
            "CREATE TRIGGER zdrzet BEFORE UPDATE ON cis_zakaznici FOR EACH ROW EXECUTE FUNCTION zdrzet()")));
        QVERIFY(admin.exec(QStringLiteral("SELECT pg_advisory_lock(1)")));
        const auto waitingSessions = [&] {
            return rows(server.db(), QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = "
                                                    "current_database() AND wait_event_type = 'Lock'"))
                .value(0)
                .toInt();
        };

        QString first;
        QString second;
        const std::unique_ptr<QThread> firstSave =
            saveTownInThread(server.connectionString(), QStringLiteral("Praha"), first);
        const std::unique_ptr<QThread> secondSave =
            saveTownInThread(server.connectionString(), QStringLiteral("Ostrava"), second);
        const auto finish = qScopeGuard([&] {
            QSqlQuery(server.db()).exec(QStringLiteral("SELECT pg_advisory_unlock_all()"));
            for (QThread* save : {firstSave.get(), secondSave.get()})
                save->wait();
        });
        firstSave->start();
        QTRY_COMPARE_WITH_TIMEOUT(waitingSessions(), 1, 20000); // its update holds the row
        secondSave->start();
        QTRY_COMPARE_WITH_TIMEOUT(waitingSessions(), 2, 20000);
        QVERIFY(admin.exec(QStringLiteral("SELECT pg_advisory_unlock(1)")));
        QVERIFY(firstSave->wait(QDeadlineTimer(20000)));
        QVERIFY(secondSave->wait(QDeadlineTimer(20000)));

        QCOMPARE(first, QString());
        QCOMPARE(second, QStringLiteral("Záznam mezitím změnil jiný uživatel. Vaše změny nebyly uloženy a "
                                        "záznam je načten znovu; prohlédněte si ho a změny případně "
                                        "proveďte znovu."));
        QCOMPARE(rows(server.db(), QStringLiteral("SELECT mesto FROM cis_zakaznici")), QStringList{"Praha"});
    }

    // The server ends the program's session in the middle of an edit (a restart, a broken
    // line): the save says so, the typed values stay, and the next save works on a new session.
    void aLostConnectionKeepsTheEditForTheNextSave()
    {
        currentTestEngine() = TestEngine::Server;
        MainWindowFixture m;
        m.start();
        QVERIFY(m.w->context().connection.isServer());
        m.exec(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Kotle', 12)"));
        addCustomer(m.connection(), QStringLiteral("Alfa"));
        m.exec(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (1, 'Kotel', 'K1', 1)"));
        m.reloadLookups();
        m.open(1);
        TestDialogs dialogs;
        typeText(m.find("Ed_typ"), QStringLiteral("x"));

        QSqlQuery admin(m.database.server()->db());
        QVERIFY(admin.exec(
            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                           "current_database() AND pid <> pg_backend_pid()")));
        m.w->cardPanel()->panel()->action(RecordPanel::Save)->trigger();
        const DialogCall lost = dialogs.take();
        QVERIFY2(
            lost.text.startsWith(QStringLiteral("Spojení s databázovým serverem se přerušilo, akce nebyla "
                                                "provedena.\r\n")),
            qPrintable(lost.text));
        QVERIFY(lost.text.endsWith(QStringLiteral("Spojení je znovu navázáno: akci zopakujte.")));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
        QCOMPARE(m.text("Ed_typ"), QStringLiteral("K1x"));

        m.w->cardPanel()->panel()->action(RecordPanel::Save)->trigger();
        QCOMPARE(dialogs.pending(), 0);
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(m.scalar(QStringLiteral("SELECT typ FROM topny_zdroj WHERE id = 1")).toString(),
                 QStringLiteral("K1x"));
        currentTestEngine() = TestEngine::File;
    }
};

VESTIBOR_TEST_MAIN(TestServer)
#include "tst_server.moc"
