// Backups of the database file: on request, automatically at the end of a run, and putting
// one back in place.
#include "support/MainWindowFixture.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/CommandNames.h"

#include "helpers/SafeFile.h"
#include "store/Connection.h"
#include "store/CzechText.h"
#include "uikit/Dialogs.h"

#include <QAction>
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
        f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Novák')"));
        TestDialogs dialogs;

        const QString target = f.dir.path(QStringLiteral("kopie.mdb"));
        dialogs.answerSaveFile(FileChoice{target, 0});
        f.run(Akce_ZalohovatDatabazi);
        QVERIFY(dialogs.lastSaveSuggestion.startsWith(QStringLiteral("Vestibor_") +
                                                      QDate::currentDate().toString(Qt::ISODate)));
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
        f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Svoboda')"));
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
            f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Dvořák')"));
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
        // PocetZaloh=0 switches them off.
        {
            MainWindowFixture f(noSaveQuestion + "[databaze]\r\nPocetZaloh=0\r\n");
            f.start();
            f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Dvořák')"));
            f.w->close();
            QVERIFY(!QFileInfo::exists(f.dir.path(QStringLiteral("Zalohy"))));
        }
        // A folder that cannot be made says so once, and the program ends all the same.
        {
            MainWindowFixture f;
            f.dir.writeFile(QStringLiteral("Zalohy"), "soubor místo složky");
            f.start();
            f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Dvořák')"));
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
        f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Novák')"));
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
        f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Ze zálohy')"));
        TestDialogs dialogs;
        const QString backup = f.dir.path(QStringLiteral("zaloha.mdb"));
        dialogs.answerSaveFile(FileChoice{backup, 0});
        f.run(Akce_ZalohovatDatabazi);
        dialogs.take();
        f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Po záloze')"));
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
        dialogs.answerQuestion(AnswerNo);
        f.run(Akce_ObnovitZeZalohy);
        QVERIFY(dialogs.takeQuestion(2, QStringLiteral("Obnovit ze zálohy"), question));
        QCOMPARE(f.column(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY id")),
                 QStringLiteral("Ze zálohy,Po záloze"));

        dialogs.answerOpenFile(backup);
        dialogs.answerQuestion(AnswerYes);
        f.run(Akce_ObnovitZeZalohy);
        QVERIFY(dialogs.takeQuestion(2, QStringLiteral("Obnovit ze zálohy"), question));
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
