// The SQLite extension vestibor_sqlite: Debian's sqlite3 shell with it loaded changes the
// database file as the program would, and the program finds the file intact.
#include "store/Connection.h"
#include "support/KeptNextInspections.h"
#include "support/ProgramDir.h"
#include "support/TestMain.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestExtension : public QObject
{
    Q_OBJECT

    QString m_shell;
    QString m_database;

    // What the shell printed for the statements, a line for each row; on any error (or
    // anything on its error output) what went wrong, so that a comparison shows it.
    QString shell(const QString& sql) const
    {
        QProcess process;
        process.start(m_shell, {QStringLiteral("-batch"), QStringLiteral("-bail"), QStringLiteral("-cmd"),
                                QStringLiteral(".load " VESTIBOR_EXTENSION_PATH), m_database, sql});
        if (!process.waitForFinished(30000))
            return QStringLiteral("sqlite3 did not run: ") + process.errorString();
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || !errors.isEmpty())
            return QStringLiteral("sqlite3 failed (%1): %2").arg(process.exitCode()).arg(errors);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // The first column of the rows, a line for each as the shell prints them.
    static QString column(const ResultSet& result)
    {
        QStringList values;
        for (const auto& row : result.rows)
            values << row[0].toString();
        return values.join(u'\n');
    }

private slots:
    void initTestCase()
    {
        m_shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        QVERIFY2(!m_shell.isEmpty(),
                 "Debian's sqlite3 shell is missing; scripts/install-deps.sh installs it");
    }

    void theShellChangesTheDatabaseAsTheProgramWould()
    {
        ProgramDir dir;
        m_database = dir.path(QStringLiteral("Vestibor.mdb"));
        {
            Connection program(QStringLiteral("before"));
            program.open(m_database);
            for (const char* name : {"Hora", "Dvořák", "Cyril"})
                program.execute(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES (?)"),
                                {QString::fromUtf8(name)});
        }

        // Each statement writes to a column or an index that uses the collations.
        QCOMPARE(shell(QStringLiteral(
                     "UPDATE cis_zakaznici SET tel = '1' WHERE id = 1;"
                     "UPDATE cis_zakaznici SET nazev = 'Čech' WHERE nazev = 'Dvořák';"
                     "INSERT INTO cis_zakaznici (nazev) VALUES ('Chalupa'), ('čermák'), ('Cibulka');"
                     "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, vyrobni_cislo) "
                     "VALUES (1, 'Kotel', 'K', 1, 'SN-ab');"
                     "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) "
                     "VALUES (1, 1, 1, '2026-03-02', '2027-03-02'), (1, 1, 1, '2026-09-01', NULL);")),
                 QString());
        // The database keeps the card's next inspection whoever writes the activities.
        QCOMPARE(shell(QStringLiteral("SELECT datum, posledni_datum FROM pristi_revize_karet")),
                 QStringLiteral("2027-03-02|2026-09-01"));
        const QString sorted = shell(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY nazev"));
        QCOMPARE(sorted, QStringLiteral("Cibulka\nCyril\nČech\nčermák\nHora\nChalupa"));
        QCOMPARE(shell(QStringLiteral(
                     "SELECT nazev FROM cis_zakaznici WHERE nazev LIKE '%čech%';"
                     "SELECT nazev FROM topny_zdroj WHERE vyrobni_cislo = 'sn-AB' COLLATE caseless")),
                 QStringLiteral("Čech\nKotel"));

        Connection program(QStringLiteral("after"));
        program.open(m_database);
        QCOMPARE(column(program.query(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY nazev"))),
                 sorted);
        QCOMPARE(column(program.query(QStringLiteral("SELECT tel FROM cis_zakaznici WHERE nazev = 'Hora'"))),
                 QStringLiteral("1"));
        QCOMPARE(keptNextInspectionsDiffer(program), QString());
        // The indexes the shell wrote are in the program's order.
        QCOMPARE(column(program.query(QStringLiteral("PRAGMA integrity_check"))), QStringLiteral("ok"));
    }
};

VESTIBOR_TEST_MAIN(TestExtension)
#include "tst_extension.moc"
