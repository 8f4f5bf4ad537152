#include "accounts/PasswordHasher.h"
#include "support/TestMain.h"
#include "support/WebFixture.h"
#include "web/AccountCommand.h"

#include <QProcess>
#include <QTextStream>

// The command line of vestibor-web: the account commands on the database, the help, and a
// start refused with a clear message.
class TestWebCommands : public QObject
{
    Q_OBJECT

    struct Output
    {
        int status;
        QString out;
        QString err;
    };
    static Output run(Connection& c, const QStringList& words)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = AccountCommand::run(c, words, o, e);
        o.flush();
        e.flush();
        return {status, out, err};
    }

    static Output program(const QStringList& arguments)
    {
        QProcess p;
        p.start(QStringLiteral(VESTIBOR_WEB_PROGRAM), arguments);
        p.waitForFinished(30000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

private slots:
    void theAccountCommands()
    {
        WebFixture f;
        f.seed();
        Connection& c = f.connection;
        const Output added = run(c, {QStringLiteral("pridat"), QStringLiteral("Novak"), QStringLiteral("1"),
                                     QStringLiteral("technik")});
        QCOMPARE(added.status, 0);
        const QString password =
            added.out.section(QStringLiteral("Jednorázové heslo: "), 1).section(u'\n', 0, 0);
        QCOMPARE(password.size(), 12);
        QVERIFY(added.out.startsWith(QStringLiteral("Účet „novak“ je založen.")));
        const QString hash = c.query(QStringLiteral("SELECT heslo FROM web_ucty")).rows[0][0].toString();
        QVERIFY(PasswordHasher().verify(hash, password));
        QVERIFY(!hash.contains(password));

        const Output listed = run(c, {QStringLiteral("seznam")});
        QCOMPARE(listed.out,
                 QStringLiteral("novak\ttechnik\t1 Novák Jan\taktivní\tjednorázové heslo\tpřihlášen: -\n"));
        QCOMPARE(run(c, {QStringLiteral("zablokovat"), QStringLiteral("novak")}).status, 0);
        QVERIFY(run(c, {QStringLiteral("seznam")}).out.contains(QStringLiteral("zablokovaný")));
        QCOMPARE(run(c, {QStringLiteral("odblokovat"), QStringLiteral("novak")}).status, 0);
        const Output renewed = run(c, {QStringLiteral("heslo"), QStringLiteral("novak")});
        QCOMPARE(renewed.status, 0);
        QVERIFY(renewed.out.startsWith(QStringLiteral("Nové jednorázové heslo účtu „novak“: ")));

        // Refusals, in Czech, with a status that is not 0.
        const Output unknown = run(c, {QStringLiteral("zablokovat"), QStringLiteral("nikdo")});
        QCOMPARE(unknown.status, 1);
        QVERIFY(!unknown.err.isEmpty());
        QCOMPARE(run(c, {QStringLiteral("pridat"), QStringLiteral("x"), QStringLiteral("jedna"),
                         QStringLiteral("technik")})
                     .err,
                 QStringLiteral("Číslo technika „jedna“ není kladné celé číslo.\n"));
        QCOMPARE(run(c, {QStringLiteral("smazat"), QStringLiteral("novak")}).status, 2);
        QCOMPARE(run(c, {QStringLiteral("seznam"), QStringLiteral("navic")}).status, 2);
        QCOMPARE(c.query(QStringLiteral("SELECT count(*) FROM web_ucty")).rows[0][0].toInt(), 1);
    }

    void theProgramsHelpAndRefusals()
    {
        const Output help = program({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith(
            QStringLiteral("Použití: vestibor-web [--adresar <adresář programu>] [ucet <příkaz>]")));
        QVERIFY(help.out.contains(QStringLiteral("ucet pridat <login> <číslo technika> <technik|kancelar>")));

        ProgramDir dir;
        dir.writeIni("[web]\r\nAdresa=0.0.0.0\r\n");
        const Output open = program({QStringLiteral("--adresar"), dir.dir()});
        QCOMPARE(open.status, 2);
        QVERIFY(open.err.contains(QStringLiteral("adresa „0.0.0.0“ vyžaduje certifikát")));

        ProgramDir empty(false);
        const Output missing = program({QStringLiteral("--adresar"), empty.dir()});
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.startsWith(QStringLiteral("Nebyl nalezen soubor databáze")));

        const Output wrong = program({QStringLiteral("--adresar")});
        QCOMPARE(wrong.status, 2);
        QVERIFY(wrong.err.startsWith(QStringLiteral("Za volbou --adresar chybí adresář.")));
        QCOMPARE(program({QStringLiteral("--adresar"), dir.dir(), QStringLiteral("ucet")}).status, 2);

        // The account commands on the program directory's database.
        const Output listed = program(
            {QStringLiteral("--adresar"), dir.dir(), QStringLiteral("ucet"), QStringLiteral("seznam")});
        QCOMPARE(listed.status, 0);
        QCOMPARE(listed.out, QStringLiteral("Žádné účty.\n"));
    }
};

VESTIBOR_TEST_MAIN(TestWebCommands)
#include "tst_webcommands.moc"
