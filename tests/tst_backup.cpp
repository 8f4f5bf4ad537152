// Backups of the database file: on request, automatically at the end of a run, and putting
// one back in place.
#include "support/MainWindowFixture.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/CommandNames.h"

#include "helpers/SafeFile.h"
#include "store/Connection.h"
#include "store/CzechText.h"
#include "store/Schema.h"
#include "uikit/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <sqlite3.h>

namespace {

// The customers' names in a database file, read by a connection of its own.
QString customersIn(const QString& file)
{
    Connection connection(QStringLiteral("backup-check"));
    connection.open(file);
    QStringList names;
    for (const auto& row :
         connection.query(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY id")).rows)
        names << row.value(0).toString();
    return names.join(u',');
}

QStringList backupsIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
}

// The program's database at path, many pages long, with a page near the end spoilt (not
// the first, which says what the file holds): it opens and the program's tables read, but
// SQLite's check of the file finds the damage.
void writeDamagedDatabase(const QString& path)
{
    Schema::createDatabaseFile(path);
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(qPrintable(path), &db), SQLITE_OK);
    QCOMPARE(
        sqlite3_exec(db,
                     "CREATE TABLE vypln (data BLOB); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                     "SELECT i + 1 FROM n WHERE i < 200) INSERT INTO vypln SELECT randomblob(3000) FROM n",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    QCOMPARE(sqlite3_close(db), SQLITE_OK);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray header = file.read(100);
    const qint64 pageSize = (uchar(header[16]) << 8) | uchar(header[17]);
    QVERIFY(file.size() / pageSize > 100);
    QVERIFY(file.seek(file.size() - 3 * pageSize));
    QCOMPARE(file.write(QByteArray(pageSize, '\xa5')), pageSize);
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void init() { currentTestEngine() = TestEngine::File; }

    void backupOnRequest()
    {
        MainWindowFixture f;
        f.start();
        addCustomer(f.connection(), QStringLiteral("Novák"));
        TestDialogs dialogs;

        const QString target = f.dir.path(QStringLiteral("kopie.mdb"));
        dialogs.answerSaveFile(FileChoice{target, 0});
        f.run(Akce_ZalohovatDatabazi);
        QVERIFY(dialogs.lastSaveSuggestion.startsWith(QStringLiteral("Vestibor_") +
                                                      QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(dialogs.lastSaveFilter, QStringLiteral("Databáze (*.mdb)"));
        const DialogCall done = dialogs.take();
        QCOMPARE(done.kind, MessageKind::Info);
        QVERIFY2(
            QRegularExpression(QStringLiteral("^Databáze je zálohována do souboru „%1“ \\(\\d+ kB\\)\\.$")
                                   .arg(QRegularExpression::escape(target)))
                .match(done.text)
                .hasMatch(),
            qPrintable(done.text));
        QCOMPARE(customersIn(target), QStringLiteral("Novák"));

        // Not over the database the program works on, nor over SQLite's files beside it.
        const QByteArray before = f.dir.readFile(QStringLiteral("Vestibor.mdb"));
        for (const QString& own : {QStringLiteral("Vestibor.mdb"), QStringLiteral("Vestibor.mdb-wal")}) {
            dialogs.answerSaveFile(FileChoice{f.dir.path(own), 0});
            f.run(Akce_ZalohovatDatabazi);
            QVERIFY(
                dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                    QStringLiteral("Do souboru databáze, se kterou program pracuje, nelze "
                                                   "zálohovat. Zvolte jiný soubor.")));
        }
        QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM cis_zakaznici")).toInt(), 1);

        // A target that cannot be written says why, and leaves no file.
        const QString unwritable = f.dir.path(QStringLiteral("chybi/kopie.mdb"));
        dialogs.answerSaveFile(FileChoice{unwritable, 0});
        f.run(Akce_ZalohovatDatabazi);
        const DialogCall failed = dialogs.take();
        QCOMPARE(failed.kind, MessageKind::Warning);
        QVERIFY2(failed.text.startsWith(QStringLiteral("Zálohování databáze se nezdařilo.\r\nSoubor „%1“ se "
                                                       "nepodařilo zapsat: ")
                                            .arg(unwritable)),
                 qPrintable(failed.text));
        QVERIFY(!QFile::exists(unwritable));

        // A full disk: the backup that was there stays whole.
        addCustomer(f.connection(), QStringLiteral("Svoboda"));
        dialogs.answerSaveFile(FileChoice{target, 0});
        SafeFile::failNextForTesting(SafeFile::Step::Write, ENOSPC);
        f.run(Akce_ZalohovatDatabazi);
        QCOMPARE(dialogs.take().text,
                 QStringLiteral("Zálohování databáze se nezdařilo.\r\nSoubor „%1“ se nepodařilo "
                                "zapsat: No space left on device")
                     .arg(target));
        QCOMPARE(customersIn(target), QStringLiteral("Novák"));
        QVERIFY(f.dir.readFile(QStringLiteral("Vestibor.mdb")).size() >= before.size());
    }

    // A database with a damaged page is not backed up: the check of the copy refuses it before
    // it takes the place of the file the user chose, and the earlier backup there stays whole.
    void aDamagedDatabaseIsNotBackedUp()
    {
        MainWindowFixture f;
        const QString database = f.dir.path(QStringLiteral("Vestibor.mdb"));
        QVERIFY(QFile::remove(database));
        writeDamagedDatabase(database);
        const QString target = f.dir.path(QStringLiteral("zaloha.mdb"));
        Schema::createDatabaseFile(target);
        const QByteArray earlier = f.dir.readFile(QStringLiteral("zaloha.mdb"));
        f.start();
        const QStringList files = QDir(f.dir.dir()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        TestDialogs dialogs;

        dialogs.answerSaveFile(FileChoice{target, 0});
        f.run(Akce_ZalohovatDatabazi);
        const DialogCall refused = dialogs.take();
        QCOMPARE(refused.kind, MessageKind::Warning);
        QCOMPARE(refused.text, QStringLiteral("Zálohování databáze se nezdařilo.\r\nZapsaná záloha neprošla "
                                              "kontrolou. Soubor nelze přečíst: database disk image is "
                                              "malformed"));
        QCOMPARE(f.dir.readFile(QStringLiteral("zaloha.mdb")), earlier);
        QCOMPARE(QDir(f.dir.dir()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
    }

    void automaticBackupAtTheEnd()
    {
        // A run that changed nothing leaves no copy.
        {
            MainWindowFixture f;
            f.start();
            f.w->close();
            QVERIFY(!QFileInfo::exists(f.dir.path(QStringLiteral("Zalohy"))));
        }
        // One that changed something leaves one, and only the newest PocetZaloh stay.
        {
            MainWindowFixture f(noSaveQuestion + "[databaze]\r\nPocetZaloh=2\r\n");
            QDir(f.dir.dir()).mkpath(QStringLiteral("Zalohy"));
            for (const char* old : {"Vestibor_2020-01-01_08-00-00.mdb", "Vestibor_2020-01-02_08-00-00.mdb",
                                    "Vestibor_2020-01-03_08-00-00.mdb"})
                f.dir.writeFile(QStringLiteral("Zalohy/") + QLatin1String(old), "stará záloha");
            f.dir.writeFile(QStringLiteral("Zalohy/poznamky.txt"), "cizí soubor");
            f.start();
            addCustomer(f.connection(), QStringLiteral("Dvořák"));
            f.w->close();
            const QStringList kept = backupsIn(f.dir.path(QStringLiteral("Zalohy")));
            QCOMPARE(kept.size(), 2);
            QCOMPARE(kept.first(), QStringLiteral("Vestibor_2020-01-03_08-00-00.mdb"));
            QVERIFY(QRegularExpression(
                        QStringLiteral("^Vestibor_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.mdb$"))
                        .match(kept.last())
                        .hasMatch());
            QCOMPARE(customersIn(f.dir.path(QStringLiteral("Zalohy/") + kept.last())),
                     QStringLiteral("Dvořák"));
            // Nothing else: no temporary file, nor SQLite's files of the checked copy.
            QCOMPARE(QDir(f.dir.path(QStringLiteral("Zalohy"))).entryList(QDir::Files | QDir::Hidden),
                     (QStringList{QStringLiteral("poznamky.txt"), kept.first(), kept.last()}));
        }
        // A close request that comes after the shutdown (as the one a restore sends once it
        // has shut the program down itself) is granted without a second shutdown: one copy.
        {
            MainWindowFixture f;
            f.start();
            addCustomer(f.connection(), QStringLiteral("Dvořák"));
            f.run(Akce_Konec);
            QVERIFY(!f.w->isVisible());
            QCloseEvent again;
            QApplication::sendEvent(f.w.get(), &again);
            QVERIFY(again.isAccepted());
            QCOMPARE(backupsIn(f.dir.path(QStringLiteral("Zalohy"))).size(), 1);
        }
        // PocetZaloh=0 switches them off.
        {
            MainWindowFixture f(noSaveQuestion + "[databaze]\r\nPocetZaloh=0\r\n");
            f.start();
            addCustomer(f.connection(), QStringLiteral("Dvořák"));
            f.w->close();
            QVERIFY(!QFileInfo::exists(f.dir.path(QStringLiteral("Zalohy"))));
        }
        // A folder that cannot be made says so once, and the program ends all the same.
        {
            MainWindowFixture f;
            f.dir.writeFile(QStringLiteral("Zalohy"), "soubor místo složky");
            f.start();
            addCustomer(f.connection(), QStringLiteral("Dvořák"));
            TestDialogs dialogs;
            QVERIFY(f.w->close());
            QVERIFY(dialogs.takeMessage(
                MessageKind::Warning, QStringLiteral("Vestibor"),
                QStringLiteral("Automatická záloha databáze se nezdařila.\r\nSložku „%1“ se "
                               "nepodařilo vytvořit.")
                    .arg(f.dir.path(QStringLiteral("Zalohy")))));
            QCOMPARE(dialogs.pending(), 0);
        }
    }

    void restoreRefusesWhatIsNoBackupOfTheProgram()
    {
        MainWindowFixture f;
        f.start();
        addCustomer(f.connection(), QStringLiteral("Novák"));
        TestDialogs dialogs;

        f.dir.writeFile(QStringLiteral("prazdny.mdb"), QByteArray());
        f.dir.writeFile(QStringLiteral("text.mdb"), "<zakaznici/>");
        {
            sqlite3* other = nullptr;
            QCOMPARE(sqlite3_open(qPrintable(f.dir.path(QStringLiteral("jiny.mdb"))), &other), SQLITE_OK);
            QCOMPARE(sqlite3_exec(
                         other, "CREATE TABLE faktury (id INTEGER); CREATE TABLE cis_zakaznici (id INTEGER)",
                         nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(other);
        }
        writeDamagedDatabase(f.dir.path(QStringLiteral("poskozeny.mdb")));
        const struct
        {
            const char* file;
            QString why;
        } refused[] = {
            {"prazdny.mdb", QStringLiteral("Soubor je prázdný.")},
            {"text.mdb", QStringLiteral("Soubor není databází.")},
            {"jiny.mdb",
             QStringLiteral("Soubor není databází tohoto programu (chybí v něm tabulky topny_zdroj, "
                            "cinnosti, cis_kategorie, cis_cinnost, cis_technici).")},
            {"poskozeny.mdb", QStringLiteral("Soubor nelze přečíst: database disk image is malformed")},
            {"chybi.mdb", QStringLiteral("Soubor nelze otevřít: ")},
        };
        for (const auto& r : refused) {
            const QString path = f.dir.path(QLatin1String(r.file));
            dialogs.answerOpenFile(path);
            f.run(Akce_ObnovitZeZalohy);
            const DialogCall call = dialogs.take();
            QCOMPARE(call.kind, MessageKind::Info);
            QVERIFY2(call.text.startsWith(
                         QStringLiteral("Ze souboru „%1“ nelze databázi obnovit.\r\n").arg(path) + r.why),
                     qPrintable(call.text));
        }
        dialogs.answerOpenFile(f.dir.path(QStringLiteral("Vestibor.mdb")));
        f.run(Akce_ObnovitZeZalohy);
        QVERIFY(dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral("Zvolený soubor je databáze, se kterou program právě pracuje.")));
        QCOMPARE(f.column(QStringLiteral("SELECT nazev FROM cis_zakaznici")), QStringLiteral("Novák"));
        QVERIFY(f.w->isVisible());
        QVERIFY(!QFileInfo::exists(f.dir.path(QStringLiteral("Zalohy"))));
    }

    void restoreKeepsTheCurrentDatabaseThenEnds()
    {
        MainWindowFixture f;
        f.start();
        addCustomer(f.connection(), QStringLiteral("Ze zálohy"));
        TestDialogs dialogs;
        const QString backup = f.dir.path(QStringLiteral("zaloha.mdb"));
        dialogs.answerSaveFile(FileChoice{backup, 0});
        f.run(Akce_ZalohovatDatabazi);
        dialogs.take();
        addCustomer(f.connection(), QStringLiteral("Po záloze"));
        // The backup of an older version, before customers could be firms.
        {
            sqlite3* old = nullptr;
            QCOMPARE(sqlite3_open(qPrintable(backup), &old), SQLITE_OK);
            QVERIFY(CzechText::registerOn(old));
            QCOMPARE(sqlite3_exec(old, "ALTER TABLE cis_zakaznici DROP COLUMN je_firma", nullptr, nullptr,
                                  nullptr),
                     SQLITE_OK);
            sqlite3_close(old);
        }

        // Declined: nothing changes.
        const QString question =
            QStringLiteral("Současná databáze bude nahrazena zálohou „%1“. Předtím se uloží do "
                           "složky Zalohy.\r\nProgram se potom ukončí. Pokračovat?")
                .arg(backup);
        dialogs.answerOpenFile(backup);
        dialogs.answerQuestion(Answer::No);
        f.run(Akce_ObnovitZeZalohy);
        QCOMPARE(dialogs.lastOpenTitle + u' ' + dialogs.lastOpenFilter,
                 QStringLiteral("Obnovit ze zálohy Databáze (*.mdb)"));
        QVERIFY(
            dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Obnovit ze zálohy"), question));
        QCOMPARE(f.column(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY id")),
                 QStringLiteral("Ze zálohy,Po záloze"));

        dialogs.answerOpenFile(backup);
        dialogs.answerQuestion(Answer::Yes);
        f.run(Akce_ObnovitZeZalohy);
        QVERIFY(
            dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Obnovit ze zálohy"), question));
        const QStringList kept = backupsIn(f.dir.path(QStringLiteral("Zalohy")));
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept.first().endsWith(QStringLiteral("_pred_obnovou.mdb")));
        const QString keptPath = f.dir.path(QStringLiteral("Zalohy/") + kept.first());
        QVERIFY(dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral("Databáze je obnovena ze zálohy „%1“. Předchozí databáze je "
                           "uložena v souboru „%2“.\r\nProgram se nyní ukončí, spusťte ho "
                           "znovu.")
                .arg(backup, keptPath)));
        QTRY_VERIFY(!f.w->isVisible());
        QCOMPARE(dialogs.pending(), 0); // no automatic backup of the replaced database
        QCOMPARE(customersIn(keptPath), QStringLiteral("Ze zálohy,Po záloze"));
        QCOMPARE(customersIn(f.dir.path(QStringLiteral("Vestibor.mdb"))), QStringLiteral("Ze zálohy"));
        QCOMPARE(backupsIn(f.dir.path(QStringLiteral("Zalohy"))).size(), 1);

        // The next start brings the older database up to date.
        f.w.reset();
        f.start();
        QVERIFY(f.w->startedOk());
        QCOMPARE(f.column(QStringLiteral("SELECT coalesce(je_firma, FALSE) FROM cis_zakaznici")),
                 QStringLiteral("0"));
    }

    void onTheServerThePgDumpApplies()
    {
        currentTestEngine() = TestEngine::Server;
        MainWindowFixture f;
        f.start();
        TestDialogs dialogs;
        for (const char* command : {Akce_ZalohovatDatabazi, Akce_ObnovitZeZalohy}) {
            f.run(command);
            const DialogCall call = dialogs.take();
            QCOMPARE(call.kind, MessageKind::Info);
            QVERIFY2(
                call.text.startsWith(QStringLiteral("Databáze je na databázovém serveru a zálohuje se jeho "
                                                    "vlastními nástroji, například příkazem\r\npg_dump "
                                                    "--format=custom --file=vestibor.dump ")),
                qPrintable(call.text));
            QVERIFY(call.text.endsWith(QStringLiteral("\r\nZe zálohy ji obnoví příkaz pg_restore.")));
        }
        QCOMPARE(dialogs.pending(), 0);
    }
};

VESTIBOR_TEST_MAIN(TestBackup)
#include "tst_backup.moc"
