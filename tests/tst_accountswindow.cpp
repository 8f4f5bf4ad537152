// Servis → Účty techniků…: the list of the technicians' web accounts, adding one with its
// one-time password shown once, a new password, blocking and unblocking.
#include "accounts/PasswordHasher.h"
#include "accounts/WebAccounts.h"
#include "app/TUctyTechniku.h"
#include "support/FindChild.h"
#include "support/MainWindowFixture.h"
#include "support/OpenContext.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

namespace {

const QRegularExpression oneTimeText(QStringLiteral(
    "^Jednorázové heslo pro (\\S+): (\\S{12}); při prvním přihlášení ho bude nutné změnit\\.$"));

// Every row of the grid as its shown texts joined by "|".
QStringList shownRows(TUctyTechniku& window)
{
    QStringList rows;
    const QAbstractItemModel* model = window.grid()->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

void click(TUctyTechniku& window, const char* command)
{
    QTest::mouseClick(child<QPushButton>(window, buttonNameFor(QString::fromLatin1(command))),
                      Qt::LeftButton);
}

bool enabled(TUctyTechniku& window, const char* command)
{
    return child<QPushButton>(window, buttonNameFor(QString::fromLatin1(command)))->isEnabled();
}

// Fills in the new account dialog and confirms it (or cancels it).
std::function<int(QDialog&)> newAccount(const QString& login, const QString& technician, const QString& role,
                                        bool confirm = true)
{
    return [=](QDialog& d) {
        child<QLineEdit>(d, "Ed_login")->setText(login);
        auto* technicians = child<QComboBox>(d, "CB_technik");
        technicians->setCurrentIndex(technicians->findText(technician));
        auto* roles = child<QComboBox>(d, "CB_role");
        roles->setCurrentIndex(roles->findText(role));
        QTest::mouseClick(child<QPushButton>(d, confirm ? "Tl_Ok" : "Tl_Storno"), Qt::LeftButton);
        return d.result();
    };
}

} // namespace

class TestAccountsWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<OpenContext> m_f;

private slots:
    void init()
    {
        m_f = std::make_unique<OpenContext>();
        m_f->exec(QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (7, 'Jiří Kos'), "
                                 "(8, 'Petr Malý')"));
    }
    void cleanup() { m_f.reset(); }

    void theServiceMenuOpensTheWindow()
    {
        MainWindowFixture m;
        m.start();
        TestDialogs dialogs;
        QString opened;
        dialogs.onModal([&](QDialog& d) {
            opened = d.objectName() + u' ' + d.windowTitle();
            return QDialog::Rejected;
        });
        m.run(Akce_UctyTechniku);
        QCOMPARE(opened, QStringLiteral("TUctyTechniku Účty techniků"));
    }

    void anAddedAccountShowsItsOneTimePasswordOnce()
    {
        TestDialogs dialogs;
        TUctyTechniku window(m_f->context, nullptr);
        window.show();
        QCOMPARE(shownRows(window), QStringList());
        QVERIFY(enabled(window, Akce_PridatUcet));
        QVERIFY(!enabled(window, Akce_NoveHeslo) && !enabled(window, Akce_Zablokovat) &&
                !enabled(window, Akce_Odblokovat));

        dialogs.onModal(
            newAccount(QStringLiteral("Petr"), QStringLiteral("Petr Malý"), QStringLiteral("Technik")));
        click(window, Akce_PridatUcet);
        QCOMPARE(dialogs.textWindows.size(), 1);
        const TextWindowOptions shown = dialogs.textWindows.takeFirst();
        QCOMPARE(shown.caption, QStringLiteral("Jednorázové heslo"));
        QVERIFY(shown.readOnly);
        const QRegularExpressionMatch m = oneTimeText.match(shown.text);
        QVERIFY2(m.hasMatch(), qPrintable(shown.text));
        QCOMPARE(m.captured(1), QStringLiteral("petr"));
        const QString stored =
            m_f->context.connection.query(QStringLiteral("SELECT heslo FROM web_ucty WHERE login = 'petr'"))
                .rows[0][0]
                .toString();
        QVERIFY(PasswordHasher().verify(stored, m.captured(2)));

        const QStringList rows = shownRows(window);
        QCOMPARE(rows.size(), 1);
        QVERIFY2(rows[0].startsWith(QStringLiteral("petr|Technik|Petr Malý|ano|ano|")), qPrintable(rows[0]));
        QVERIFY2(rows[0].endsWith(u'|') && rows[0].section(u'|', 5, 5).contains(u'.'), qPrintable(rows[0]));
        QVERIFY(enabled(window, Akce_NoveHeslo) && enabled(window, Akce_Zablokovat) &&
                !enabled(window, Akce_Odblokovat));

        // An office account without a technician; a cancelled dialog and a refused login add nothing.
        dialogs.onModal(
            newAccount(QStringLiteral("kancelar"), QStringLiteral("(žádný)"), QStringLiteral("Kancelář")));
        click(window, Akce_PridatUcet);
        QCOMPARE(dialogs.textWindows.size(), 1);
        dialogs.textWindows.clear();
        dialogs.onModal(
            newAccount(QStringLiteral("jiri"), QStringLiteral("Jiří Kos"), QStringLiteral("Technik"), false));
        click(window, Akce_PridatUcet);
        dialogs.onModal(
            newAccount(QStringLiteral("PETR"), QStringLiteral("Jiří Kos"), QStringLiteral("Technik")));
        click(window, Akce_PridatUcet);
        QVERIFY(dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                    QStringLiteral("Přihlašovací jméno „petr“ už má jiný účet.")));
        QCOMPARE(dialogs.textWindows.size(), 0);
        QCOMPARE(shownRows(window).size(), 2);
        QVERIFY2(shownRows(window)[0].startsWith(QStringLiteral("kancelar|Kancelář||ano|ano|")),
                 qPrintable(shownRows(window)[0]));
    }

    void blockingIsConfirmedAndANewPasswordIsShownOnce()
    {
        WebAccounts accounts(m_f->context.connection);
        accounts.add(QStringLiteral("jiri"), WebAccounts::RoleTechnician, 7);
        const auto sessions = [&] { return m_f->count(QStringLiteral("web_relace")); };
        const auto addSession = [&](const QString& hash) {
            m_f->exec(
                QStringLiteral("INSERT INTO web_relace (token_hash, ucet, vytvoreno, naposledy, platnost_do) "
                               "VALUES (?, 1, '2026-01-01 08:00:00', '2026-01-01 08:00:00', "
                               "'2026-01-01 20:00:00')"),
                {hash});
        };
        addSession(QStringLiteral("phone"));
        TestDialogs dialogs;
        TUctyTechniku window(m_f->context, nullptr);
        window.show();
        const QString question =
            QStringLiteral("Opravdu zablokovat účet „jiri“? Technik se do webové aplikace "
                           "nepřihlásí a jeho přihlášení skončí.");

        dialogs.answerQuestion(Answer::No);
        click(window, Akce_Zablokovat);
        QVERIFY(dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Zablokovat"), question));
        QVERIFY(accounts.find(QStringLiteral("jiri"))->active);
        QCOMPARE(sessions(), 1);

        dialogs.answerQuestion(Answer::Yes);
        click(window, Akce_Zablokovat);
        QVERIFY(dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Zablokovat"), question));
        QVERIFY(!accounts.find(QStringLiteral("jiri"))->active);
        QCOMPARE(sessions(), 0);
        QCOMPARE(shownRows(window)[0].section(u'|', 3, 3), QStringLiteral("ne"));
        QVERIFY(!enabled(window, Akce_Zablokovat) && enabled(window, Akce_Odblokovat));

        click(window, Akce_Odblokovat);
        QVERIFY(accounts.find(QStringLiteral("jiri"))->active);
        QCOMPARE(shownRows(window)[0].section(u'|', 3, 3), QStringLiteral("ano"));

        // A new password ends the session too, and is shown once.
        addSession(QStringLiteral("tablet"));
        const QString before =
            m_f->context.connection.query(QStringLiteral("SELECT heslo FROM web_ucty")).rows[0][0].toString();
        dialogs.answerQuestion(Answer::Yes);
        click(window, Akce_NoveHeslo);
        QVERIFY(dialogs.takeQuestion(
            QuestionKind::YesNo, QStringLiteral("Nové heslo"),
            QStringLiteral("Nastavit účtu „jiri“ nové jednorázové heslo? Dosavadní heslo "
                           "přestane platit a přihlášení účtu skončí.")));
        QCOMPARE(dialogs.textWindows.size(), 1);
        const QRegularExpressionMatch m = oneTimeText.match(dialogs.textWindows[0].text);
        QVERIFY2(m.hasMatch(), qPrintable(dialogs.textWindows[0].text));
        const QString after =
            m_f->context.connection.query(QStringLiteral("SELECT heslo FROM web_ucty")).rows[0][0].toString();
        QVERIFY(after != before);
        QVERIFY(PasswordHasher().verify(after, m.captured(2)));
        QCOMPARE(sessions(), 0);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestAccountsWindow)
#include "tst_accountswindow.moc"
