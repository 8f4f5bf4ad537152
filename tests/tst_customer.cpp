// Opening and closing a customer: the open-customer dialog, the state of the main window
// with and without a customer, saving on close, and the keys the two panels share.
#include "app/Hlavni_f.h"
#include "exchange/ReportBinding.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "store/DataSet.h"
#include "support/MainWindowFixture.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/CommandNames.h"
#include "uikit/DBGrid.h"
#include "uikit/Dialogs.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// The main window started on a fresh program directory; without the save question unless
// a test wants it.
struct Main : MainWindowFixture
{
    explicit Main(bool askBeforeSaving = false)
        : MainWindowFixture(askBeforeSaving ? QByteArray("[konfig]\r\nhsl=0\r\n") : noSaveQuestion)
    {
        start();
    }
    void customer(const QString& name, const QString& town = QString(), const QString& person = QString())
    {
        exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev, osoba, mesto) VALUES (?, ?, ?)"),
             {name, person, town});
    }
};

QStringList shownColumn(QAbstractItemView* grid, int column)
{
    QStringList values;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        values << grid->model()->index(row, column).data().toString();
    return values;
}

void clickRow(DBGrid* grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
}

// As the window system delivers it: a click, then the second press as a double click.
void doubleClick(DBGrid* grid, QPoint at)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestCustomer : public QObject
{
    Q_OBJECT
private slots:
    void theDialogListsTheCustomersByName()
    {
        Main m;
        m.customer(QStringLiteral("Dvořák"), QStringLiteral("Brno"), QStringLiteral("Jan"));
        m.customer(QStringLiteral("Čermák"), QStringLiteral("Praha"));
        m.customer(QStringLiteral("Adam"));
        m.customer(QStringLiteral("Cibulka"));
        TestDialogs dialogs;
        dialogs.onModal([&](QDialog& d) {
            showActive(&d);
            [&] {
                QCOMPARE(d.objectName(), QStringLiteral("TOtevritZakaznika"));
                QCOMPARE(d.windowTitle(), QStringLiteral("Otevřít zákazníka"));
                QCOMPARE(d.size(), QSize(620, 440));
                QCOMPARE(d.minimumSize(), QSize(620, 440));
                QCOMPARE(d.pos(), m.w->pos() + QPoint(80, 80));
                auto* pole = child<QComboBox>(d, "CBox_Pole");
                QStringList items;
                for (int i = 0; i < pole->count(); ++i)
                    items << pole->itemText(i);
                QCOMPARE(items, (QStringList{"nazev", "osoba", "ulice", "mesto", "psc", "ico"}));
                QCOMPARE(pole->currentIndex(), 0);
                auto* grid = child<DBGrid>(d, "DBGrid1");
                QStringList titles;
                for (int c = 0; c < grid->model()->columnCount(); ++c)
                    titles << grid->model()->headerData(c, Qt::Horizontal).toString();
                QCOMPARE(titles, (QStringList{"Název", "Odpovědná osoba", "Ulice, č.p.", "Město"}));
                QCOMPARE(grid->columnWidths(), (QList<int>{180, 180, 100, 100}));
                QCOMPARE(shownColumn(grid, 0), (QStringList{"Adam", "Cibulka", "Čermák", "Dvořák"}));
                QCOMPARE(shownColumn(grid, 1).last(), QStringLiteral("Jan"));
                QVERIFY(child<QPushButton>(d, "Tl_Otevrit")->isEnabled());
                QVERIFY(child<QPushButton>(d, "Tl_Otevrit")->isDefault());
                // Tab order: grid, filter text, "Filtr", "Otevřít", "Storno"; the column list is skipped
                grid->setFocus();
                QStringList order;
                for (int i = 0; i < 4; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    order << QApplication::focusWidget()->objectName();
                }
                QCOMPARE(order, (QStringList{"Ed_Filtr", "Tl_Filtr", "Tl_Otevrit", "Tl_Storno"}));
            }();
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        m.w->action(Akce_OtevritZakaznika)->trigger();
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 0);
        QVERIFY(m.w->cardPanel()->isHidden());
        QVERIFY(m.enabled(Akce_OtevritZakaznika));
    }

    void theFilterLooksForTheTextAnywhereInTheChosenColumn()
    {
        Main m;
        m.customer(QStringLiteral("Alfa"), QStringLiteral("Praha"));
        m.customer(QStringLiteral("Beta"), QStringLiteral("Brno-venkov"));
        m.customer(QStringLiteral("Gama"), QStringLiteral("Brno"));
        m.customer(QStringLiteral("U Jana's"), QStringLiteral("Kolín"));
        m.customer(QStringLiteral("Sleva 50%"));
        m.customer(QStringLiteral("Sleva 500"));
        m.customer(QStringLiteral("a_b"));
        m.customer(QStringLiteral("axb"));
        QStringList byName;
        for (const auto& row :
             m.w->context()
                 .connection.query(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY nazev"))
                 .rows)
            byName << row[0].toString();
        QCOMPARE(byName.size(), 8);
        TestDialogs dialogs;
        dialogs.onModal([&](QDialog& d) {
            auto* grid = child<DBGrid>(d, "DBGrid1");
            auto* filter = child<QLineEdit>(d, "Ed_Filtr");
            auto* pole = child<QComboBox>(d, "CBox_Pole");
            auto* button = child<QPushButton>(d, "Tl_Filtr");
            const auto filterOn = [&](const char* column, const QString& text) {
                pole->setCurrentIndex(pole->findText(QString::fromLatin1(column)));
                filter->setText(text);
                QTest::mouseClick(button, Qt::LeftButton);
                return shownColumn(grid, 0);
            };
            [&] {
                QCOMPARE(filterOn("mesto", QStringLiteral("Brno")), (QStringList{"Gama", "Beta"})); // by town
                QCOMPARE(filterOn("mesto", QStringLiteral("brno ")),
                         QStringList{}); // as typed, space included
                QCOMPARE(filterOn("nazev", QStringLiteral("'")), QStringList{"U Jana's"});
                QCOMPARE(filterOn("nazev", QStringLiteral("50%")), QStringList{"Sleva 50%"});
                QCOMPARE(filterOn("nazev", QStringLiteral("_")), QStringList{"a_b"});
                QCOMPARE(filterOn("nazev", QStringLiteral("Nikdo")), QStringList{});
                QVERIFY(child<QPushButton>(d, "Tl_Otevrit")->isEnabled()); // filtering leaves it as it was
                QCOMPARE(filterOn("mesto", QString()), byName);            // all, by name again
                // Enter in the filter field opens the selected customer; it does not filter
                filter->setText(QStringLiteral("Praha"));
                clickRow(grid, 3);
                QTest::keyClick(filter, Qt::Key_Return);
                QVERIFY(!d.isVisible());
            }();
            return d.result();
        });
        m.w->action(Akce_OtevritZakaznika)->trigger();
        QCOMPARE(m.text("La_OtevrenyZakaznik"), byName.value(3));
    }

    void anEmptyTableOffersNothingToOpen()
    {
        Main m;
        TestDialogs dialogs;
        dialogs.onModal([&](QDialog& d) {
            auto* grid = child<DBGrid>(d, "DBGrid1");
            [&] {
                QVERIFY(!child<QPushButton>(d, "Tl_Otevrit")->isEnabled());
                doubleClick(grid, grid->viewport()->rect().center());
                QVERIFY2(!d.isVisible(), "a double click on the empty grid closes the dialog");
            }();
            return d.result();
        });
        m.w->action(Akce_OtevritZakaznika)->trigger();
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 0);
        QVERIFY(m.w->cardPanel()->isHidden());
        QVERIFY(!m.enabled(Akce_ZavritZakaznika));
    }

    void openingAndClosingSwitchTheWindow()
    {
        Main m;
        m.customer(QStringLiteral("Alfa"));
        m.customer(QStringLiteral("Beta"));
        TestDialogs dialogs;
        dialogs.onModal([&](QDialog& d) {
            auto* grid = child<DBGrid>(d, "DBGrid1");
            doubleClick(grid, grid->visualRect(grid->model()->index(1, 0)).center());
            return d.result();
        });
        m.w->action(Akce_OtevritZakaznika)->trigger();
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 2);
        QCOMPARE(m.text("La_OtevrenyZakaznik"), QStringLiteral("Beta"));
        QVERIFY(m.w->cardPanel()->isVisible() && m.w->activityPanel()->isVisible());
        QVERIFY(!m.enabled(Akce_OtevritZakaznika) && !m.enabled(Akce_OtevritTZ));
        QVERIFY(m.enabled(Akce_ZavritZakaznika));
        // no cards: an empty list, the activity panel disabled
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("0 z 0"));
        QVERIFY(!m.w->activityPanel()->isEnabled());
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[---]"));

        showActive(m.w.get());
        // At the design size the two panels take the place the form's positions assume.
        QCOMPARE(m.w->size(), m.w->minimumSize());
        QCOMPARE(m.w->cardPanel()->size(), QSize(473, 560));
        QCOMPARE(m.w->activityPanel()->size(), QSize(499, 560));
        QTest::keyClick(m.w.get(), Qt::Key_O, Qt::ControlModifier); // disabled: no dialog
        QTest::keyClick(m.w.get(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 0);
        QVERIFY(m.text("La_OtevrenyZakaznik").isEmpty());
        QVERIFY(m.w->cardPanel()->isHidden() && m.w->activityPanel()->isHidden());
        QVERIFY(!m.w->records().DS_Karty->isOpen() && !m.w->records().DS_Cin->isOpen());
        QVERIFY(m.enabled(Akce_OtevritZakaznika) && m.enabled(Akce_OtevritTZ));
        QVERIFY(!m.enabled(Akce_ZavritZakaznika));

        m.open(77); // an id that does not exist
        QCOMPARE(m.text("La_OtevrenyZakaznik"), QStringLiteral("nenalezen"));
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("0 z 0"));
    }

    void closingSavesTheActivityFirstThenTheCard()
    {
        Main m(true);
        m.customer(QStringLiteral("Alfa"));
        m.addCardWithActivity();
        m.open(1);
        TestDialogs dialogs;
        DataSet* cards = m.w->records().DS_Karty;
        DataSet* activities = m.w->records().DS_Cin;
        cards->edit();
        cards->setValue(QStringLiteral("typ"), QStringLiteral("K2"));
        activities->edit();
        activities->setValue(QStringLiteral("technik"), QStringLiteral("Novák"));

        dialogs.answerQuestion(Answer::Yes);
        dialogs.answerQuestion(Answer::No); // the card is refused: the customer stays open
        m.w->action(Akce_ZavritZakaznika)->trigger();
        dialogs.takeQuestion(
            QuestionKind::YesNo, QStringLiteral("Pozor"),
            QStringLiteral("Byly provedeny změny v záznamu Činnosti. Chcete tyto změny uložit?"));
        dialogs.takeQuestion(
            QuestionKind::YesNo, QStringLiteral("Pozor"),
            QStringLiteral(
                "Byly provedeny změny v kartě tepelného zdroje \"Kotel\". Chcete tyto změny uložit?"));
        QCOMPARE(m.scalar(QStringLiteral("SELECT technik FROM cinnosti")).toString(),
                 QStringLiteral("Novák"));
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 1);
        QVERIFY(m.w->cardPanel()->isVisible());
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
        QVERIFY(m.enabled(Akce_ZavritZakaznika));

        dialogs.answerQuestion(Answer::Yes);
        m.w->action(Akce_ZavritZakaznika)->trigger();
        dialogs.take();
        QCOMPARE(m.scalar(QStringLiteral("SELECT typ FROM topny_zdroj")).toString(), QStringLiteral("K2"));
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 0);
        QVERIFY(m.w->cardPanel()->isHidden());
    }

    void aRefusedActivityKeepsTheCustomerOpenWithoutAskingForTheCard()
    {
        Main m(true);
        m.customer(QStringLiteral("Alfa"));
        m.addCardWithActivity();
        m.open(1);
        TestDialogs dialogs;
        m.w->records().DS_Karty->edit();
        m.w->activityPanel()->panel()->action(RecordPanel::New)->trigger();
        m.w->action(Akce_ZavritZakaznika)->trigger();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Volba Činnost musí být zvolená!"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 1);
        QCOMPARE(m.scalar(QStringLiteral("SELECT count(*) FROM cinnosti")).toInt(), 1);
    }

    void theDialogRemembersWhereItStoodForTheRun()
    {
        Main m;
        m.customer(QStringLiteral("Alfa"));
        TestDialogs dialogs;
        dialogs.onModal([&](QDialog& d) {
            d.resize(700, 500);
            d.move(30, 40);
            child<DBGrid>(d, "DBGrid1")->horizontalHeader()->resizeSection(1, 222);
            QTest::mouseClick(child<QPushButton>(d, "Tl_Storno"), Qt::LeftButton);
            return d.result();
        });
        m.w->action(Akce_OtevritZakaznika)->trigger();
        const Placement p = m.w->context().PoziceOtevritZakaznika;
        QCOMPARE(QRect(p.left, p.top, p.width, p.height), QRect(30, 40, 700, 500));
        QCOMPARE(p.columnWidths, (QList<int>{180, 222, 100, 100}));

        QRect shown;
        QList<int> widths;
        dialogs.onModal([&](QDialog& d) {
            shown = QRect(d.pos(), d.size());
            widths = child<DBGrid>(d, "DBGrid1")->columnWidths();
            child<DBGrid>(d, "DBGrid1")->horizontalHeader()->resizeSection(3, 60);
            d.close(); // the close box stores the placement too
            return d.result();
        });
        m.w->action(Akce_OtevritZakaznika)->trigger();
        QCOMPARE(shown, QRect(30, 40, 700, 500));
        QCOMPARE(widths, (QList<int>{180, 222, 100, 100}));
        QCOMPARE(m.w->context().PoziceOtevritZakaznika.columnWidths, (QList<int>{180, 222, 100, 60}));
        QCOMPARE(m.w->records().IdOtevrenehoZakaznika, 0);
    }

    void sharedKeysGoToTheCardPanelWhileItsCommandIsEnabled()
    {
        Main m;
        m.customer(QStringLiteral("Alfa"));
        m.addCardWithActivity();
        m.open(1);
        TestDialogs dialogs;
        showActive(m.w.get());
        const QString deleteCard =
            QStringLiteral("Opravdu chcete odstranit záznam \"Kotel\" ?\r\n"
                           "(současně budou odstraněny i případné záznamy činností tohoto TZ)");

        QTest::keyClick(m.w.get(), Qt::Key_Insert); // both panels browse: the card panel's New
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Vkládání]"));
        QVERIFY(!m.w->activityPanel()->isEnabled());
        m.w->cardPanel()->panel()->action(RecordPanel::Cancel)->trigger();

        dialogs.answerQuestion(Answer::No);
        m.w->dispatchSharedKey(QKeySequence(Qt::CTRL | Qt::Key_Delete));
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"), deleteCard);

        // an activity being edited does not keep Ctrl+Del from the card panel
        m.w->records().DS_Cin->edit();
        dialogs.answerQuestion(Answer::No);
        m.w->dispatchSharedKey(QKeySequence(Qt::CTRL | Qt::Key_Delete));
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"), deleteCard);
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Editace]"));
        m.w->records().DS_Cin->cancel();

        // a card being edited passes both keys on to the activity panel
        m.w->records().DS_Karty->edit();
        dialogs.answerQuestion(Answer::No);
        QTest::keyClick(m.w.get(), Qt::Key_Delete, Qt::ControlModifier);
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"),
                             QStringLiteral("Opravdu chcete odstranit činnost ze dne \"5.3.2024\" ?"));
        m.w->dispatchSharedKey(QKeySequence(Qt::Key_Insert));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
    }

    void ctrlPPrintsThroughTheMenuNeverTheCard()
    {
        Main m;
        m.customer(QStringLiteral("Alfa"));
        m.addCardWithActivity();
        m.open(1);
        TestDialogs dialogs;
        showActive(m.w.get());
        QAction* card = child<QAction>(*m.w->cardPanel(), Akce_TiskKarty);
        QVERIFY(card);
        QCOMPARE(card->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QSignalSpy cardPrint(card, &QAction::triggered);
        int generatorCalls = 0;
        const auto previous =
            ReportBinding::setLauncher([&](const ReportBinding::Call&) { ++generatorCalls; });
        QTest::keyClick(m.w.get(), Qt::Key_P, Qt::ControlModifier);
        ReportBinding::setLauncher(previous);
        QCOMPARE(cardPrint.count(), 0);
        QCOMPARE(generatorCalls, 1);
        QCOMPARE(dialogs.pending(), 0);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestCustomer)
#include "tst_customer.moc"
