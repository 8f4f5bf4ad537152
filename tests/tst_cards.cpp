// The heating-source card panel: fields, validation, categories, decommissioning, deletion
// with the card's activities, how it drives the activity panel, and the card listing.
#include "app/Hlavni_f.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "support/MainWindowFixture.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/CommandNames.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/DBLookupCombo.h"
#include "uikit/Dialogs.h"
#include "uikit/RecordPanel.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

namespace {

const QString deleteQuestion =
    QStringLiteral("Opravdu chcete odstranit záznam \"%1\" ?\r\n"
                   "(současně budou odstraněny i případné záznamy činností tohoto TZ)");

// The main window with customer 1 open: categories Kotle (24 months) and Krby (12), cards
// "Kotel" (two activities) and "Krb" (one), and a card of customer 2 with one activity.
struct Main : MainWindowFixture
{
    explicit Main(const QByteArray& ini = noSaveQuestion, bool withCards = true) : MainWindowFixture(ini)
    {
        start();
        exec("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Kotle', 24), ('Krby', 12)");
        exec("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES ('Revize')");
        reloadLookups();
        addCustomers(connection(), {QStringLiteral("Alfa"), QStringLiteral("Beta")});
        if (withCards) {
            exec("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, lhuta) VALUES "
                 "(1, 'Kotel', 'K1', 1, 24), (1, 'Krb', 'R1', 2, 12), (2, 'Cizí', 'C1', 1, 24)");
            exec("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum) VALUES "
                 "(1, 1, 1, '2024-01-10'), (1, 1, 1, '2024-02-10'), (1, 2, 1, '2024-03-10'), (2, 3, 1, "
                 "'2024-04-10')");
        }
        open(1);
    }
    using MainWindowFixture::exec;
    void exec(const char* sql) { MainWindowFixture::exec(QString::fromUtf8(sql)); }
    QVariant scalar(const char* sql) const { return MainWindowFixture::scalar(QString::fromUtf8(sql)); }
    QAction* card(RecordPanel::Command c) const { return w->cardPanel()->panel()->action(c); }
    DataSet* cards() const { return w->records().DS_Karty; }
};

// What a choice in the drop-down does: the item becomes current and is reported.
void choose(QComboBox* combo, const QString& item)
{
    const int index = combo->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace

class TestCards : public QObject
{
    Q_OBJECT
private slots:
    void fieldsCaptionsAndTabOrder()
    {
        Main m;
        QCOMPARE(m.text("La_Karty"), QStringLiteral("Karty topných zdrojů"));
        QStringList captions;
        for (const char* name :
             {"La_nazev", "La_typ", "La_vyrobce", "La_vyrobni_cislo", "La_carovy_kod", "La_rok_vyroby",
              "La_kategorie", "La_lhuta", "La_vyrazeno_dne", "La_poznamka"})
            captions << m.text(name);
        QCOMPARE(captions, (QStringList{"Název", "Typ", "Výrobce", "Výrobní číslo", "Čárový kód",
                                        "Rok výroby", "Kategorie TZ", "Lhůta", "Vyřazeno dne", "Poznámka"}));
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("1 z 2"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(m.find<QComboBox>("CB_kategorie")->currentText(), QStringLiteral("Kotle"));
        QCOMPARE(m.find<QAbstractButton>("Tl_ZrusitVyrazeni")->text(), QStringLiteral("Zrušit vyřazení"));
        QCOMPARE(m.find<QAbstractButton>("Tl_TiskKarty")->toolTip(),
                 QStringLiteral("Tisk revizní karty dle ČSN 33 160 ed. 2"));
        QVERIFY(m.find<DBEdit>("Ed_vyrazeno_dne")->isReadOnly());

        auto* years = m.find<QComboBox>("Cb_rok_vyroby");
        const int thisYear = QDate::currentDate().year();
        QCOMPARE(years->count(), thisYear - 1980 + 2);
        QCOMPARE(years->itemText(0), QString());
        QCOMPARE(years->itemText(1), QString::number(thisYear));
        QCOMPARE(years->itemText(years->count() - 1), QStringLiteral("1980"));

        m.find("DBGrid1")->setFocus();
        QStringList order;
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Ed_nazev", "Ed_typ", "Ed_vyrobce", "Ed_vyrobni_cislo", "Ed_carovy_kod",
                                     "Cb_rok_vyroby", "CB_kategorie", "Ed_lhuta", "Tl_vyrazeno_dne",
                                     "Me_poznamka"}));
    }

    void aNewCardDisablesTheActivitiesUntilSaved()
    {
        Main m;
        m.find("Me_poznamka")->setFocus();
        m.card(RecordPanel::New)->trigger();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_nazev"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("0 z 2"));
        QVERIFY(!m.w->activityPanel()->isEnabled());
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[---]"));
        QCOMPARE(m.cards()->value(QStringLiteral("id_zakaznika")).toInt(), 1);

        m.card(RecordPanel::Cancel)->trigger(); // back to the first card and its activities
        QCOMPARE(m.text("Ed_nazev"), QStringLiteral("Kotel"));
        QVERIFY(m.w->activityPanel()->isEnabled());
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 2"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Prohlížení]"));

        m.card(RecordPanel::New)->trigger();
        typeText(m.find("Ed_nazev"), QStringLiteral("Kamna"));
        typeText(m.find("Ed_typ"), QStringLiteral("Š1"));
        choose(m.find<QComboBox>("CB_kategorie"), QStringLiteral("Krby"));
        choose(m.find<QComboBox>("Cb_rok_vyroby"), QStringLiteral("1999"));
        m.card(RecordPanel::Save)->trigger();
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("3 z 3"));
        QVERIFY(m.w->activityPanel()->isEnabled());
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("0 z 0"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(m.scalar("SELECT id_zakaznika || typ || kategorie || lhuta || rok_vyroby FROM topny_zdroj "
                          "WHERE nazev = 'Kamna'")
                     .toString(),
                 QStringLiteral("1Š12121999"));
    }

    void validationRunsInOrderAndTheSaveIsAsked()
    {
        Main m("[konfig]\r\nhsl=0\r\n"); // asks before saving
        TestDialogs dialogs;
        const auto save = [&] {
            m.find("Me_poznamka")->setFocus();
            m.card(RecordPanel::Save)->trigger();
        };
        m.card(RecordPanel::New)->trigger();
        save();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Kolonka Název musí být vyplněná!"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_nazev"));
        typeText(m.find("Ed_nazev"), QStringLiteral("  ")); // spaces are a name
        save();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Kolonka Typ musí být vyplněná!"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_typ"));
        typeText(m.find("Ed_typ"), QStringLiteral("T"));
        save();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Kolonka Kategorie musí být vyplněná!"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CB_kategorie"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Vkládání]"));

        choose(m.find<QComboBox>("CB_kategorie"), QStringLiteral("Kotle"));
        dialogs.answerQuestion(Answer::No);
        save();
        dialogs.takeQuestion(
            QuestionKind::YesNo, QStringLiteral("Pozor"),
            QStringLiteral(
                "Byly provedeny změny v kartě tepelného zdroje \"  \". Chcete tyto změny uložit?"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.scalar("SELECT count(*) FROM topny_zdroj").toInt(), 3);
        dialogs.answerQuestion(Answer::Yes);
        save();
        dialogs.take();
        QCOMPARE(m.scalar("SELECT count(*) FROM topny_zdroj").toInt(), 4);

        // asked on every save, also when nothing was changed
        m.card(RecordPanel::Edit)->trigger();
        dialogs.answerQuestion(Answer::Yes);
        save();
        dialogs.take();
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Prohlížení]"));
    }

    void aCategoryBringsItsPeriod()
    {
        Main m;
        TestDialogs dialogs;
        auto* category = m.find<QComboBox>("CB_kategorie");
        choose(category, QStringLiteral("Krby"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
        QCOMPARE(m.text("Ed_lhuta"), QStringLiteral("12"));
        auto* period = m.find<DBEdit>("Ed_lhuta");
        period->selectAll();
        typeText(period, QStringLiteral("7"));
        m.card(RecordPanel::Save)->trigger();
        QCOMPARE(m.scalar("SELECT kategorie || '/' || lhuta FROM topny_zdroj WHERE id = 1").toString(),
                 QStringLiteral("2/7"));
        choose(category, QStringLiteral("Kotle")); // a later choice overwrites the hand-set period
        QCOMPARE(m.text("Ed_lhuta"), QStringLiteral("24"));
        m.card(RecordPanel::Cancel)->trigger();
        QCOMPARE(m.text("Ed_lhuta"), QStringLiteral("7"));
    }

    void anEmptyCategoryListSaysWhatToDo()
    {
        Main m;
        TestDialogs dialogs;
        m.exec("DELETE FROM cis_kategorie");
        m.w->records().DS_Kategorie->close();
        m.w->records().DS_Kategorie->open();
        m.card(RecordPanel::New)->trigger();
        QTest::mouseClick(m.find("CB_kategorie"), Qt::LeftButton); // nothing there to choose
        dialogs.takeMessage(
            MessageKind::Plain, QStringLiteral("Vestibor"),
            QStringLiteral(
                "Není vybraná kategorie. Naplňte číselník Kategorií a vyberte položku z tohoto číseníku."));
        QVERIFY(m.text("Ed_lhuta").isEmpty());
    }

    void aChoiceInAnEmptyListStartsACardOfTheOpenCustomer()
    {
        Main m("[konfig]\r\nhsl=0\r\nDialogUlozit=0\r\n", false);
        TestDialogs dialogs;
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("0 z 0"));
        QVERIFY(!m.card(RecordPanel::Edit)->isEnabled() && !m.card(RecordPanel::Delete)->isEnabled());
        choose(m.find<QComboBox>("CB_kategorie"), QStringLiteral("Kotle"));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("Ed_lhuta"), QStringLiteral("24"));
        QCOMPARE(m.cards()->value(QStringLiteral("id_zakaznika")).toInt(), 1);
        m.card(RecordPanel::Cancel)->trigger();
        dialogs.answerDate(QDate(2021, 6, 30));
        QTest::mouseClick(m.find<QAbstractButton>("Tl_vyrazeno_dne"), Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("Ed_vyrazeno_dne"), QStringLiteral("30.6.2021"));
    }

    void dateOfDecommissioning()
    {
        Main m;
        TestDialogs dialogs;
        auto* field = m.find<DBEdit>("Ed_vyrazeno_dne");
        auto* pick = m.find<QAbstractButton>("Tl_vyrazeno_dne");
        auto* undo = m.find<QAbstractButton>("Tl_ZrusitVyrazeni");

        QTest::mouseClick(undo, Qt::LeftButton); // no date: nothing to undo, no editing
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Prohlížení]"));
        dialogs.answerDate(QDate::currentDate()); // starts from today; the same day changes nothing
        dialogs.answerDate(std::nullopt);
        QTest::mouseClick(pick, Qt::LeftButton);
        QTest::mouseClick(pick, Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Prohlížení]"));
        const QPoint below = field->mapToGlobal(QPoint(0, field->height()));
        QCOMPARE(dialogs.datePositions.size(), 2);
        QCOMPARE(dialogs.datePositions.last().x(), below.x());
        QVERIFY2(qAbs(dialogs.datePositions.last().y() - below.y()) <= 2, "just below the date field");

        dialogs.answerDate(QDate(2024, 5, 17));
        QTest::mouseClick(pick, Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
        QCOMPARE(field->text(), QStringLiteral("17.5.2024"));
        QCOMPARE(m.scalar("SELECT count(vyrazeno_dne) FROM topny_zdroj").toInt(), 0); // not saved by itself
        m.card(RecordPanel::Save)->trigger();
        QCOMPARE(m.scalar("SELECT vyrazeno_dne FROM topny_zdroj WHERE id = 1").toString(),
                 QStringLiteral("2024-05-17"));

        dialogs.answerDate(QDate(2024, 5, 17)); // starts from the card's own date
        QTest::mouseClick(pick, Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Prohlížení]"));

        QTest::mouseClick(undo, Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]"));
        QVERIFY(field->text().isEmpty());
        m.card(RecordPanel::Save)->trigger();
        QVERIFY(m.scalar("SELECT vyrazeno_dne FROM topny_zdroj WHERE id = 1").isNull());

        Main typed("[konfig]\r\nhsl=0\r\nPovolitPrimouEditaciDatumu=1\r\n");
        QVERIFY(!typed.find<DBEdit>("Ed_vyrazeno_dne")->isReadOnly());
    }

    void deletingACardTakesItsActivities()
    {
        Main m;
        TestDialogs dialogs;
        m.cards()->edit();
        m.w->cardPanel()->panel()->deleteCurrent();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Odstranění záznamu v režimu Editace není možné."));
        m.cards()->cancel();

        dialogs.answerQuestion(Answer::No);
        m.card(RecordPanel::Delete)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"),
                             deleteQuestion.arg(QStringLiteral("Kotel")));
        QCOMPARE(m.scalar("SELECT count(*) FROM cinnosti").toInt(), 4);

        dialogs.answerQuestion(Answer::Yes);
        m.card(RecordPanel::Delete)->trigger();
        dialogs.take();
        QCOMPARE(m.column(QStringLiteral("SELECT id FROM topny_zdroj ORDER BY id")), QStringLiteral("2,3"));
        QCOMPARE(m.column(QStringLiteral("SELECT id_topneho_zdroje FROM cinnosti ORDER BY id")),
                 QStringLiteral("2,3"));
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("1 z 1"));
        QCOMPARE(m.text("Ed_nazev"), QStringLiteral("Krb"));
        QCOMPARE(m.text("La_Pocitadlo_Cin"),
                 QStringLiteral("1 z 1")); // the activities of the card now current

        dialogs.answerQuestion(Answer::Yes);
        m.card(RecordPanel::Delete)->trigger();
        dialogs.take();
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("0 z 0"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[---]"));

        m.w->closeCustomer(); // a hidden panel deletes nothing and asks nothing
        m.w->cardPanel()->panel()->deleteCurrent();
        QCOMPARE(dialogs.pending(), 0);
    }

    // Whichever of the two deletes the database refuses, the card and its activities stay.
    void aCardThatCannotBeDeletedKeepsItsActivities_data()
    {
        QTest::addColumn<QString>("refusingTable");
        QTest::newRow("card") << QStringLiteral("topny_zdroj");
        QTest::newRow("activities") << QStringLiteral("cinnosti");
    }
    void aCardThatCannotBeDeletedKeepsItsActivities()
    {
        QFETCH(QString, refusingTable);
        Main m;
        TestDialogs dialogs;
        refuseWrites(m.w->context().connection, refusingTable, QStringLiteral("DELETE"));
        dialogs.answerQuestion(Answer::Yes);
        m.card(RecordPanel::Delete)->trigger();
        dialogs.take();
        dialogs.takeMessage(MessageKind::Plain, QStringLiteral("Vestibor"),
                            QStringLiteral("Při mazání záznamů nastala neočekávaná chyba..."));
        QCOMPARE(m.scalar("SELECT count(*) FROM topny_zdroj").toInt(), 3);
        QCOMPARE(m.scalar("SELECT count(*) FROM cinnosti WHERE id_topneho_zdroje = 1").toInt(), 2);
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("1 z 2"));
        QCOMPARE(m.text("Ed_nazev"), QStringLiteral("Kotel"));
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 2"));
    }

    // Two program instances on one database, as two PCs in an office: neither save overwrites
    // what the other saved since it read the card, new cards of both are kept, and a card
    // the other deleted is reported when saved.
    void twoProgramsOnOneDatabase()
    {
        Main a;
        TestDialogs dialogs;
        THlavni bWindow(a.dir.dir());
        QVERIFY(bWindow.FormCreate());
        showActive(&bWindow);
        bWindow.records().IdOtevrenehoZakaznika = 1;
        bWindow.OtevritZakaznikaId();
        const auto b = [&](const char* name) { return child<QWidget>(bWindow, name); };
        const auto bText = [&](const char* name) { return child<QLineEdit>(bWindow, name)->text(); };
        const auto bCard = [&](RecordPanel::Command c) { return bWindow.cardPanel()->panel()->action(c); };

        typeText(a.find("Ed_typ"), QStringLiteral("x"));
        a.card(RecordPanel::Save)->trigger();
        typeText(b("Ed_nazev"), QStringLiteral("y"));
        bCard(RecordPanel::Save)->trigger();
        const DialogCall refused = dialogs.take();
        QVERIFY2(refused.text.startsWith(QStringLiteral("Záznam mezitím změnil jiný uživatel.")),
                 qPrintable(refused.text));
        QCOMPARE(a.scalar("SELECT nazev || '/' || typ FROM topny_zdroj WHERE id = 1").toString(),
                 QStringLiteral("Kotel/K1x"));
        QCOMPARE(child<QLabel>(bWindow, "La_Rezim")->text(), QStringLiteral("[Prohlížení]"));
        QCOMPARE(bText("Ed_typ"), QStringLiteral("K1x")); // read again: the user decides anew
        typeText(b("Ed_nazev"), QStringLiteral("y"));
        bCard(RecordPanel::Save)->trigger();
        QCOMPARE(a.scalar("SELECT nazev || '/' || typ FROM topny_zdroj WHERE id = 1").toString(),
                 QStringLiteral("Kotely/K1x"));

        // Both add a card to the customer.
        for (const auto& [window, name] : {std::pair(a.w.get(), QStringLiteral("Kamna A")),
                                           std::pair(&bWindow, QStringLiteral("Kamna B"))}) {
            window->cardPanel()->panel()->action(RecordPanel::New)->trigger();
            typeText(child<QWidget>(*window, "Ed_nazev"), name);
            typeText(child<QWidget>(*window, "Ed_typ"), QStringLiteral("K"));
            choose(child<QComboBox>(*window, "CB_kategorie"), QStringLiteral("Krby"));
            window->cardPanel()->panel()->action(RecordPanel::Save)->trigger();
        }
        showActive(a.w.get()); // the user turns to the first PC
        QTest::keyClick(a.w.get(), Qt::Key_F5);
        QCOMPARE(a.column(QStringLiteral("SELECT nazev FROM topny_zdroj WHERE id_zakaznika = 1 ORDER BY id")),
                 QStringLiteral("Kotely,Krb,Kamna A,Kamna B"));
        QCOMPARE(a.cards()->recordCount(), 4);

        // One deletes the card the other is editing.
        QVERIFY(bWindow.records().DS_Karty->locate(QStringLiteral("nazev"), QStringLiteral("Krb")));
        QVERIFY(a.cards()->locate(QStringLiteral("nazev"), QStringLiteral("Krb")));
        typeText(b("Ed_typ"), QStringLiteral("z"));
        dialogs.answerQuestion(Answer::Yes);
        a.card(RecordPanel::Delete)->trigger();
        dialogs.take();
        bCard(RecordPanel::Save)->trigger();
        dialogs.takeMessage(
            MessageKind::Error, QStringLiteral("Vestibor"),
            QStringLiteral(
                "Záznam mezitím smazal jiný uživatel, změny nelze uložit. Zrušte je tlačítkem Storno."));
        QCOMPARE(bText("Ed_typ"), QStringLiteral("R1z")); // the typed change is still there
        bCard(RecordPanel::Cancel)->trigger();
        QCOMPARE(dialogs.pending(), 0);
        QCOMPARE(a.scalar("SELECT count(*) FROM topny_zdroj WHERE nazev = 'Krb'").toInt(), 0);
    }

    void f5ReadsWhatAnotherProgramSavedKeepingTheCurrentCard()
    {
        Main f;
        QVERIFY(f.cards()->last()); // Krb
        Connection other(QStringLiteral("other"));
        f.database.open(other);
        other.execute(QStringLiteral("UPDATE topny_zdroj SET nazev = 'Krb nový' WHERE id = 2"));
        other.execute(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES "
                                     "(1, 'Kamna', 'A1', 1)"));
        other.execute(
            QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum) VALUES "
                           "(1, 2, 1, '2024-05-10')"));
        other.execute(QStringLiteral("UPDATE cis_zakaznici SET nazev = 'Alfa s.r.o.' WHERE id = 1"));
        QTest::keyClick(f.w.get(), Qt::Key_F5);
        QCOMPARE(f.cards()->recordCount(), 3);
        QCOMPARE(f.cards()->value(QStringLiteral("nazev")).toString(), QStringLiteral("Krb nový"));
        QCOMPARE(f.w->records().DS_Cin->recordCount(), 2);
        QCOMPARE(f.text("La_OtevrenyZakaznik"), QStringLiteral("Alfa s.r.o."));

        // A customer deleted meanwhile is closed with a message.
        TestDialogs dialogs;
        other.execute(QStringLiteral("DELETE FROM cinnosti WHERE id_zakaznika = 1"));
        other.execute(QStringLiteral("DELETE FROM topny_zdroj WHERE id_zakaznika = 1"));
        other.execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE id = 1"));
        QTest::keyClick(f.w.get(), Qt::Key_F5);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Zákazníka mezitím smazal jiný uživatel."));
        QCOMPARE(f.w->records().IdOtevrenehoZakaznika, 0);
        QVERIFY(f.w->cardPanel()->isHidden());
    }

    void theActivitiesFollowTheCurrentCardOnly()
    {
        Main m("[konfig]\r\nhsl=0\r\n"); // would ask if an activity were saved behind the user's back
        TestDialogs dialogs;
        typeText(m.find("Ed_technik"), QStringLiteral("Novák"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Editace]"));

        // typing into the card, choosing its category and saving it keep the activity
        typeText(m.find("Ed_typ"), QStringLiteral("x"));
        choose(m.find<QComboBox>("CB_kategorie"), QStringLiteral("Krby"));
        dialogs.answerQuestion(Answer::Yes);
        m.card(RecordPanel::Save)->trigger();
        dialogs.take();
        QCOMPARE(m.scalar("SELECT typ FROM topny_zdroj WHERE id = 1").toString(), QStringLiteral("K1x"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Editace]"));
        QCOMPARE(m.text("Ed_technik"), QStringLiteral("Novák"));

        // another card: the activity is dropped without a question
        m.card(RecordPanel::Next)->trigger();
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 1"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(m.scalar("SELECT count(technik) FROM cinnosti").toInt(), 0);
        m.card(RecordPanel::First)->trigger();
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 2"));
        QVERIFY(m.text("Ed_technik").isEmpty());
    }

    // On the server every statement is a trip over the network: opening a customer and
    // moving to another card take a few each, however many cards and activities there are.
    void openingACustomerAndMovingToACardTakeFewStatements()
    {
        Main m;
        for (int card = 0; card < 5; ++card) {
            m.exec("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, lhuta) VALUES (1, 'Další', "
                   "'D', 1, 24)");
            for (int activity = 0; activity < 5; ++activity)
                m.exec("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum) "
                       "SELECT 1, max(id), 1, '2024-05-10' FROM topny_zdroj");
        }
        const Connection& db = m.w->context().connection;
        const auto statementsOf = [&](const std::function<void()>& action) {
            const qint64 before = db.statementCount();
            action();
            return db.statementCount() - before;
        };
        QVERIFY(m.w->closeCustomer());
        const qint64 opening = statementsOf([&] { m.open(1); });
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("1 z 7"));
        QVERIFY2(opening <= 4, qPrintable(QString::number(opening)));
        for (int card = 2; card <= 7; ++card) {
            const qint64 moving = statementsOf([&] { m.card(RecordPanel::Next)->trigger(); });
            QCOMPARE(m.text("La_Pocitadlo_Cin"),
                     card <= 2 ? QStringLiteral("1 z 1") : QStringLiteral("1 z 5"));
            QVERIFY2(moving <= 2, qPrintable(QString::number(moving)));
        }

        // Opened on a card (from the plan, or a card found), the customer takes no more: only
        // that card's activities are read.
        QVERIFY(m.w->closeCustomer());
        m.w->records().IdOtevrenehoZakaznika = 1;
        QCOMPARE(statementsOf([&] { m.w->OtevritZakaznikaId(2); }), opening);
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("2 z 7"));
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 1"));
    }

    void listingShowsWhatIsOnScreen()
    {
        Main m;
        m.exec(QStringLiteral(
                   "UPDATE topny_zdroj SET vyrobce = 'Viadrus', vyrobni_cislo = 'SN-1', carovy_kod = '859', "
                   "rok_vyroby = 2010, vyrazeno_dne = '2020-03-01', poznamka = ? WHERE id = 1"),
               {QStringLiteral("první řádek\r\ndruhý řádek")});
        m.cards()->refresh();
        TestDialogs dialogs;
        auto* name = m.find<DBEdit>("Ed_nazev");
        name->end(false);
        typeText(name, QStringLiteral(" 2")); // not saved
        child<QAction>(*m.w->cardPanel(), Akce_Vypis)->trigger();
        QCOMPARE(dialogs.textWindows.size(), 1);
        const TextWindowOptions shown = dialogs.textWindows.last();
        QCOMPARE(shown.text,
                 QStringLiteral("Název: Kotel 2\r\nTyp: K1\r\nVýrobce: Viadrus\r\nVýrobní číslo: SN-1\r\n"
                                "Čárový kód: 859\r\nRok výroby: 2010\r\nKategorie TZ: Kotle\r\nLhůta: 24\r\n"
                                "Vyřazeno dne: 1.3.2020\r\nPoznámka: \r\nprvní řádek\r\ndruhý řádek"));
        QCOMPARE(windowLayout(shown), windowLayout(recordListingWindow(QStringLiteral("Výpis karty"))));
        QCOMPARE(m.text("La_Rezim"), QStringLiteral("[Editace]")); // the edit goes on

        m.card(RecordPanel::Cancel)->trigger();
        m.card(RecordPanel::Next)->trigger();
        QTest::mouseClick(m.find<QAbstractButton>("Tl_Vypis"), Qt::LeftButton);
        QCOMPARE(
            dialogs.textWindows.last().text,
            QStringLiteral(
                "Název: Krb\r\nTyp: R1\r\nVýrobce: \r\nVýrobní číslo: \r\nČárový kód: \r\nRok výroby: \r\n"
                "Kategorie TZ: Krby\r\nLhůta: 12\r\nVyřazeno dne: \r\nPoznámka: "));

        QTest::mouseClick(m.find<QAbstractButton>("Tl_TiskKarty"), Qt::LeftButton);
        dialogs.takeMessage(MessageKind::Plain, QStringLiteral("Vestibor"),
                            QStringLiteral("Tady bude tisk karty či revizní zprávy..."));
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestCards)
#include "tst_cards.moc"
