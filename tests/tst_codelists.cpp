// The record panel as the three code lists use it: enabling, implicit editing, deletion,
// validation, the close question, Enter, and the listings.
#include "codelists/CisCinnosti_f.h"
#include "codelists/CisKategorii_f.h"
#include "codelists/CisTechniku_f.h"
#include "store/DataSet.h"
#include "support/FindChild.h"
#include "support/OpenContext.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/CommandNames.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString closeQuestion = QStringLiteral(
    "Formulář je v režimu editace. Pokud byly hodnoty záznamu změněny, požadujete jejich uložení?");

// Which of the panel's commands are enabled, in the order First Prior Next Last New Edit
// Delete Save Cancel, as a string of 0 and 1.
QString enabling(CodeListWindow& w)
{
    QString s;
    for (int c = 0; c < RecordPanel::CommandCount; ++c)
        s += w.panel()->action(RecordPanel::Command(c))->isEnabled() ? u'1' : u'0';
    return s;
}

QString label(QWidget& w, const char* name)
{
    return child<QLabel>(w, name)->text();
}

} // namespace

class TestCodeLists : public QObject
{
    Q_OBJECT

    void addKinds(OpenContext& f, int count)
    {
        for (int i = 1; i <= count; ++i)
            f.exec(QStringLiteral("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES (?)"),
                   {QStringLiteral("Kind %1").arg(i)});
    }

private slots:
    void anEmptyListOffersOnlyNew()
    {
        OpenContext f;
        TCisCinnosti w(f.context, nullptr);
        QCOMPARE(w.windowTitle(), QStringLiteral("Číselník činností"));
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("0 z 0"));
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(enabling(w), QStringLiteral("000010000"));
        for (const char* name : {Akce_Export, Akce_Vypis, Akce_Zavrit})
            QVERIFY(w.command(QString::fromLatin1(name))->isEnabled());
        // The names the rest of the program and the user's key presses find them by.
        QStringList commands, buttons;
        for (QAction* action : w.findChildren<QAction*>())
            commands << action->objectName();
        for (QAbstractButton* button : w.findChildren<QAbstractButton*>())
            if (!button->objectName().isEmpty()) // not the grid's corner button
                buttons << button->objectName();
        commands.sort();
        buttons.sort();
        QCOMPARE(commands.join(u' '),
                 QStringLiteral("Akce_Edit Akce_Export Akce_NaKonec Akce_NaZacatek Akce_Novy Akce_Smazat "
                                "Akce_Storno Akce_Ulozit Akce_Vpred Akce_Vypis Akce_Vzad Akce_Zavrit"));
        QCOMPARE(buttons.join(u' '),
                 QStringLiteral("Tl_Edit Tl_Export Tl_NaKonec Tl_NaZacatek Tl_Novy Tl_Smazat Tl_Storno "
                                "Tl_Ulozit Tl_Vpred Tl_Vypis Tl_Vzad Tl_Zavrit"));
        QCOMPARE(w.command(Akce_Zavrit)->shortcut(), QKeySequence(Qt::Key_Escape));
        QCOMPARE(w.panel()->action(RecordPanel::New)->shortcut(), QKeySequence(Qt::Key_Insert));
        QCOMPARE(w.panel()->action(RecordPanel::Delete)->toolTip(), QStringLiteral("Smazat záznam"));
        QCOMPARE(w.size(), QSize(547, 347));
    }

    void typingIntoAnEmptyListStartsANewRow()
    {
        OpenContext f;
        TCisCinnosti w(f.context, nullptr);
        w.show();
        typeText(child<DBEdit>(w, "Ed_nazev_cinnosti"), QStringLiteral("Ř"));
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Vkládání]"));
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("0 z 0"));
        QCOMPARE(enabling(w), QStringLiteral("000000011"));
        w.panel()->action(RecordPanel::Save)->trigger();
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("1 z 1"));
        QCOMPARE(f.context.connection.query(QStringLiteral("SELECT nazev_cinnosti FROM cis_cinnost"))
                     .rows[0][0]
                     .toString(),
                 QStringLiteral("Ř"));
    }

    void newRowInASetOfFiveAndAnUntouchedMoveDiscardsIt()
    {
        OpenContext f;
        addKinds(f, 5);
        TCisCinnosti w(f.context, nullptr);
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("1 z 5"));
        QCOMPARE(enabling(w), QStringLiteral("001111100"));
        w.panel()->action(RecordPanel::New)->trigger();
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("0 z 5"));
        QCOMPARE(enabling(w), QStringLiteral("001100011"));
        w.panel()->action(RecordPanel::Next)->trigger();
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(f.count(QStringLiteral("cis_cinnost")), 5);
        QCOMPARE(w.dataSet()->recordCount(), 5);
    }

    void aChangedRowIsSavedByTheMove()
    {
        OpenContext f;
        addKinds(f, 5);
        TCisCinnosti w(f.context, nullptr);
        showActive(&w);
        w.dataSet()->moveTo(3);
        w.panel()->action(RecordPanel::Edit)->trigger();
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "Ed_nazev_cinnosti"));
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Editace]"));
        QCOMPARE(enabling(w), QStringLiteral("111100011"));
        typeText(child<DBEdit>(w, "Ed_nazev_cinnosti"), QStringLiteral("x"));
        w.panel()->action(RecordPanel::Next)->trigger();
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("4 z 5"));
        QCOMPARE(
            f.context.connection.query(QStringLiteral("SELECT nazev_cinnosti FROM cis_cinnost WHERE id = 3"))
                .rows[0][0]
                .toString(),
            QStringLiteral("Kind 3x"));
    }

    void deletionAsksAndRefusesWhileEditing()
    {
        OpenContext f;
        f.exec(QStringLiteral("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES ('Revize')"));
        TCisCinnosti w(f.context, nullptr);
        TestDialogs dialogs;
        dialogs.answerQuestion(Answer::No);
        w.panel()->action(RecordPanel::Delete)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"),
                             QStringLiteral("Opravdu chcete odstranit záznam \"Revize\" ?"));
        QCOMPARE(f.count(QStringLiteral("cis_cinnost")), 1);

        w.dataSet()->edit();
        w.panel()->deleteCurrent();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Odstranění záznamu v režimu Editace není možné."));
        w.dataSet()->cancel();
        w.dataSet()->append();
        w.panel()->deleteCurrent();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Odstranění záznamu v režimu Vkládání není možné."));
        w.dataSet()->cancel();

        dialogs.answerQuestion(Answer::Yes);
        w.panel()->action(RecordPanel::Delete)->trigger();
        dialogs.take();
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("0 z 0"));
        QCOMPARE(enabling(w), QStringLiteral("000010000"));
        QCOMPARE(f.count(QStringLiteral("cis_cinnost")), 0);
    }

    void validationOfEachList()
    {
        OpenContext f;
        TestDialogs dialogs;
        {
            TCisTechniku w(f.context, nullptr);
            showActive(&w);
            w.dataSet()->append();
            w.panel()->action(RecordPanel::Save)->trigger();
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                QStringLiteral("Kolonka Číslo technika musí být vyplněná!"));
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_cislo"));
            w.dataSet()->setValue(QStringLiteral("cislo"), 7);
            w.panel()->action(RecordPanel::Save)->trigger();
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                QStringLiteral("Kolonka Jméno technika musí být vyplněná!"));
            QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Vkládání]"));
            w.dataSet()->setValue(QStringLiteral("jmeno_technika"), QStringLiteral(" "));
            w.panel()->action(RecordPanel::Save)->trigger(); // a space is a name
            QCOMPARE(f.count(QStringLiteral("cis_technici")), 1);
        }
        {
            TCisKategorii w(f.context, nullptr);
            showActive(&w);
            w.dataSet()->append();
            w.panel()->action(RecordPanel::Save)->trigger();
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                QStringLiteral("Kolonka Název kategorie musí být vyplněná!"));
            w.dataSet()->setValue(QStringLiteral("nazev_kategorie"), QStringLiteral("Kotle"));
            w.panel()->action(RecordPanel::Save)->trigger();
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                QStringLiteral("Kolonka Lhůta musí být vyplněná!"));
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_lhuta"));
        }
        {
            TCisCinnosti w(f.context, nullptr);
            w.dataSet()->append();
            w.panel()->action(RecordPanel::Save)->trigger();
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                QStringLiteral("Kolonka Název činnosti musí být vyplněná!"));
        }
    }

    void closingWhileInsertingAsks()
    {
        OpenContext f;
        TestDialogs dialogs;
        TCisCinnosti w(f.context, nullptr);
        w.show();
        w.dataSet()->append();

        dialogs.answerQuestion(Answer::Yes); // the name is empty: refused, the window stays
        w.command(Akce_Zavrit)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNoCancel, QStringLiteral("Pozor!"), closeQuestion);
        dialogs.take();
        QVERIFY(w.isVisible());
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Vkládání]"));

        dialogs.answerQuestion(Answer::Cancel); // Esc: the same question, nothing changes
        QTest::keyClick(&w, Qt::Key_Escape);
        dialogs.takeQuestion(QuestionKind::YesNoCancel, QStringLiteral("Pozor!"), closeQuestion);
        QVERIFY(w.isVisible());

        dialogs.answerQuestion(Answer::No); // the close box: discarded and closed
        w.close();
        dialogs.take();
        QVERIFY(!w.isVisible());
        QVERIFY(!w.dataSet()->isOpen());
        QCOMPARE(f.count(QStringLiteral("cis_cinnost")), 0);
    }

    void closingAfterSavingAsksNothing()
    {
        OpenContext f;
        TestDialogs dialogs;
        TCisCinnosti w(f.context, nullptr);
        w.show();
        w.dataSet()->append();
        w.dataSet()->setValue(QStringLiteral("nazev_cinnosti"), QStringLiteral("Kontrola"));
        dialogs.answerQuestion(Answer::Yes);
        w.close();
        dialogs.take();
        QVERIFY(!w.isVisible());
        QCOMPARE(f.count(QStringLiteral("cis_cinnost")), 1);
    }

    void enterMovesToTheNextTabStop()
    {
        OpenContext f;
        TCisKategorii w(f.context, nullptr);
        showActive(&w);
        auto* name = child<DBEdit>(w, "Ed_nazev_cinnosti");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_lhuta"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Tl_Zavrit"));
        QVERIFY(w.isVisible());
        // On a focused button Enter presses that button.
        child<QWidget>(w, "Tl_Novy")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.dataSet()->state(), DataSet::State::Insert);
    }

    void doubleClickOnTheGridDoesNothingMore()
    {
        OpenContext f;
        addKinds(f, 3);
        TCisCinnosti w(f.context, nullptr);
        w.show();
        auto* grid = child<DBGrid>(w, "DBGrid1");
        const QRect row2 = grid->visualRect(grid->model()->index(1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row2.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row2.center());
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("2 z 3"));
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Prohlížení]"));
    }

    void listings()
    {
        OpenContext f;
        f.exec(QStringLiteral("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES ('Revize'), ('Kontrola')"));
        QCOMPARE(SmallCodeListWindow::listingText(f.context.connection, CodeListDefinitions::activityKinds()),
                 QStringLiteral(
                     "Kód\tNázev "
                     "činnosti\r\n==================================\r\n\r\n1\tRevize\r\n2\tKontrola\r\n"));
        QCOMPARE(SmallCodeListWindow::listingText(f.context.connection, CodeListDefinitions::categories()),
                 QStringLiteral("Kód\tNázev kategorie\tLhůta\r\n==================================\r\n\r\n"));
        f.exec(QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (2, 'Čermák'), (1, "
                              "'Zelený'), (3, 'Adam')"));
        QCOMPARE(SmallCodeListWindow::listingText(f.context.connection, CodeListDefinitions::technicians()),
                 QStringLiteral("Číslo\tJméno technika\r\n==================================\r\n\r\n"
                                "3\tAdam\r\n2\tČermák\r\n1\tZelený\r\n"));

        TestDialogs dialogs;
        TCisTechniku w(f.context, nullptr);
        w.command(Akce_Vypis)->trigger();
        const TextWindowOptions shown = dialogs.textWindows.last();
        QCOMPARE(windowLayout(shown), windowLayout({.caption = QStringLiteral("Výpis číselníku techniků"),
                                                    .width = 500,
                                                    .height = 600,
                                                    .scrollBars = TextScrollBars::VerticalOnly,
                                                    .fixedFont = true}));
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestCodeLists)
#include "tst_codelists.moc"
