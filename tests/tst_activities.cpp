// The activity panel (defaults, the next-inspection date, date buttons, technicians,
// validation, deletion, listing) and the search for a card by serial number or barcode.
#include "app/Hlavni_f.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "rules/NextRevisionDate.h"
#include "store/DataSet.h"
#include "support/MainWindowFixture.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/CommandNames.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/Dialogs.h"
#include "uikit/RecordPanel.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <memory>

namespace {

// On the radio button's circle: a click beside its caption does not count.
void clickRadio(QRadioButton* radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

std::function<int(QDialog&)> search(bool barcode, const QString& value)
{
    return [=](QDialog& d) {
        if (barcode)
            clickRadio(child<QRadioButton>(d, "RB_CarovyKod"));
        child<QLineEdit>(d, "Ed_VstupniPole")->setText(value);
        QTest::mouseClick(child<QAbstractButton>(d, "Tl_Otevrit"), Qt::LeftButton);
        return d.result();
    };
}

// Customers Alfa (1) and Beta (2). Alfa's card 1 has a period of 1 month and three
// activities, card 2 has no period and no activities; Beta has cards 3 and 4.
struct Main : MainWindowFixture
{
    explicit Main(const QByteArray& ini = noSaveQuestion, int openCustomer = 1) : MainWindowFixture(ini)
    {
        start();
        exec("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES ('Revize'), ('Kontrola')");
        reloadLookups();
        addCustomers(connection(), {QStringLiteral("Alfa"), QStringLiteral("Beta")});
        exec("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, lhuta, vyrobni_cislo, "
             "carovy_kod) VALUES "
             "(1, 'Kotel', 'K1', 1, 1, 'A-1', 'SHARED'), (1, 'Krb', 'R1', 1, NULL, NULL, NULL), "
             "(2, 'Kamna B1', 'B1', 1, 12, 'X-1', 'SHARED'), (2, 'Kotel B2', 'B2', 1, 12, 'O''B-7', 'B-3')");
        exec("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi, technik, "
             "cena_doprava, "
             "cena_prace, cena_material, poznamka) VALUES "
             "(1, 1, 1, '2024-05-01', NULL, 'b', NULL, NULL, NULL, NULL), "
             "(1, 1, 2, '2023-01-01', '2023-02-01', 'Novák', 150, 1500.5, 0.25, ?), "
             "(1, 1, 1, '2024-05-01', NULL, 'c', NULL, NULL, NULL, NULL), "
             "(2, 4, 1, '2022-02-02', NULL, NULL, NULL, NULL, NULL, NULL)",
             {QStringLiteral("a\r\nb")});
        if (openCustomer)
            open(openCustomer);
    }
    using MainWindowFixture::exec;
    void exec(const char* sql, const QVariantList& params = {})
    {
        MainWindowFixture::exec(QString::fromUtf8(sql), params);
    }
    QVariant scalar(const char* sql) const { return MainWindowFixture::scalar(QString::fromUtf8(sql)); }
    QAction* act(RecordPanel::Command c) const { return w->activityPanel()->panel()->action(c); }
    int openCustomer() const { return w->records().IdOtevrenehoZakaznika; }
    int currentCard() const { return w->records().DS_Karty->value(QStringLiteral("id")).toInt(); }
    void findCard() { run(Akce_OtevritTZ); }
    // "Otevřít TZ" with the column chosen and the text typed in the search form.
    void findCard(TestDialogs& dialogs, bool barcode, const QString& value)
    {
        dialogs.onModal(search(barcode, value));
        findCard();
    }
    DataSet* activities() const { return w->records().DS_Cin; }
};

// The calendar opens with its top left corner at the field's bottom left corner.
bool justBelow(QPoint topLeft, QWidget* field)
{
    const QPoint corner = field->mapToGlobal(QPoint(0, field->height()));
    return topLeft.x() == corner.x() && qAbs(topLeft.y() - corner.y()) <= 2;
}

QString dateText(const QDate& d)
{
    return d.toString(QStringLiteral("d.M.yyyy"));
}

void doubleClickRow(DBGrid* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestActivities : public QObject
{
    Q_OBJECT
private slots:
    void nextRevisionDate_data()
    {
        QTest::addColumn<QDate>("carriedOut");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("next");
        QTest::newRow("a year") << QDate(2024, 1, 31) << 12 << QDate(2025, 1, 31);
        QTest::newRow("into a leap February") << QDate(2024, 1, 31) << 1 << QDate(2024, 2, 29);
        QTest::newRow("into a common February") << QDate(2023, 1, 31) << 1 << QDate(2023, 2, 28);
        QTest::newRow("31 August + 12") << QDate(2024, 8, 31) << 12 << QDate(2025, 8, 31);
        QTest::newRow("into a 30-day month") << QDate(2024, 10, 31) << 1 << QDate(2024, 11, 30);
        QTest::newRow("29 February + 12") << QDate(2024, 2, 29) << 12 << QDate(2025, 2, 28);
        QTest::newRow("29 February + 48") << QDate(2024, 2, 29) << 48 << QDate(2028, 2, 29);
        QTest::newRow("no period") << QDate(2024, 5, 15) << 0 << QDate(2024, 5, 15);
        QTest::newRow("back one month") << QDate(2024, 3, 31) << -1 << QDate(2024, 2, 29);
        QTest::newRow("back over the year") << QDate(2024, 1, 15) << -13 << QDate(2022, 12, 15);
    }
    void nextRevisionDate()
    {
        QFETCH(QDate, carriedOut);
        QFETCH(int, months);
        QFETCH(QDate, next);
        QCOMPARE(::nextRevisionDate(carriedOut, months), next);
    }

    void theListIsOrderedByDateThenId()
    {
        Main m;
        auto* grid = m.find<DBGrid>("DBGrid2");
        QStringList dates;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            dates << grid->model()->index(row, 0).data().toString();
        QCOMPARE(dates, (QStringList{"1.1.2023", "1.5.2024", "1.5.2024"}));
        QCOMPARE(m.text("Ed_technik"), QStringLiteral("Novák"));
        m.act(RecordPanel::Next)->trigger();
        QCOMPARE(m.text("Ed_technik"), QStringLiteral("b"));
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("2 z 3"));
        m.act(RecordPanel::First)->trigger();
        QCOMPARE(m.find<QComboBox>("CB_cinnost")->currentText(), QStringLiteral("Kontrola"));
        QStringList prices;
        for (const char* name : {"Ed_cena_doprava", "Ed_cena_prace", "Ed_cena_material", "Ed_cena_ostatni"})
            prices << m.text(name);
        QCOMPARE(prices, (QStringList{"150", "1500,5", "0,25", ""}));
        QVERIFY(m.find<DBEdit>("Ed_datum")->isReadOnly() && m.find<DBEdit>("Ed_datum_pristi")->isReadOnly());
    }

    void aNewActivityTakesItsDefaults()
    {
        Main m;
        const QDate today = QDate::currentDate();
        m.act(RecordPanel::New)->trigger();
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("0 z 3"));
        QCOMPARE(m.text("Ed_datum"), dateText(today));
        QCOMPARE(m.text("Ed_datum_pristi"), dateText(today.addMonths(1)));
        QCOMPARE(m.activities()->value(QStringLiteral("id_zakaznika")).toInt(), 1);
        QCOMPARE(m.activities()->value(QStringLiteral("id_topneho_zdroje")).toInt(), 1);
        QVERIFY(m.text("Ed_technik").isEmpty() && m.find<QComboBox>("CB_cinnost")->currentIndex() == -1);
        m.act(RecordPanel::Cancel)->trigger();

        // a card without a period and without activities: typing starts a new one
        m.w->cardPanel()->panel()->action(RecordPanel::Next)->trigger();
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("0 z 0"));
        typeText(m.find("Ed_technik"), QStringLiteral("Ž"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.text("Ed_datum"), dateText(today));
        QCOMPARE(m.text("Ed_datum_pristi"), dateText(today));
        QCOMPARE(m.activities()->value(QStringLiteral("id_topneho_zdroje")).toInt(), 2);
    }

    void theDateButtons()
    {
        Main m;
        TestDialogs dialogs;
        m.exec("UPDATE cinnosti SET datum = '2024-01-31', datum_pristi = '2030-01-01' WHERE id = 2");
        m.activities()->refresh();
        auto* datum = m.find<DBEdit>("Ed_datum");
        auto* next = m.find<DBEdit>("Ed_datum_pristi");
        QCOMPARE(datum->text(), QStringLiteral("31.1.2024"));

        dialogs.answerDate(QDate(2024, 1, 31)); // the same day: not even the next date moves
        dialogs.answerDate(std::nullopt);
        QTest::mouseClick(m.find<QAbstractButton>("Tl_datum"), Qt::LeftButton);
        QTest::mouseClick(m.find<QAbstractButton>("Tl_datum"), Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(next->text(), QStringLiteral("1.1.2030"));

        dialogs.answerDate(QDate(2024, 3, 31));
        QTest::mouseClick(m.find<QAbstractButton>("Tl_datum"), Qt::LeftButton);
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Editace]"));
        QCOMPARE(datum->text(), QStringLiteral("31.3.2024"));
        QCOMPARE(next->text(), QStringLiteral("30.4.2024"));

        dialogs.answerDate(QDate(2024, 12, 24));
        QTest::mouseClick(m.find<QAbstractButton>("Tl_datum_pristi"), Qt::LeftButton);
        QCOMPARE(next->text(), QStringLiteral("24.12.2024"));
        QCOMPARE(datum->text(), QStringLiteral("31.3.2024"));
        m.act(RecordPanel::Save)->trigger();
        QCOMPARE(m.scalar("SELECT datum || ' ' || datum_pristi FROM cinnosti WHERE id = 2").toString(),
                 QStringLiteral("2024-03-31 2024-12-24"));

        QCOMPARE(dialogs.datePositions.size(), 4);
        QVERIFY(justBelow(dialogs.datePositions[0], datum));
        QVERIFY(justBelow(dialogs.datePositions[3], next));
    }

    void theTechnicianMenuIsRebuiltOnEveryOpening()
    {
        Main m;
        m.exec("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (2, 'Čermák'), (1, 'Zelený'), "
               "(3, 'R&D Servis'), (4, 'Cibulka'), (5, 'Dvořák')");
        ActivityPanel* panel = m.w->activityPanel();
        panel->rebuildTechnicianMenu();
        const auto items = [&] {
            QStringList out;
            for (QAction* a : panel->technicianMenu()->actions())
                out << a->text() + u'/' + a->objectName() + u'/' + a->data().toString();
            return out;
        };
        QCOMPARE(items(),
                 (QStringList{"Cibulka/PMenu_Tech4/4", "Čermák/PMenu_Tech2/2", "Dvořák/PMenu_Tech5/5",
                              "R&D Servis/PMenu_Tech3/3", "Zelený/PMenu_Tech1/1"}));

        m.exec("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (6, 'Adam')");
        QTest::mouseClick(m.find<QAbstractButton>("Tl_technik"), Qt::LeftButton);
        QVERIFY(panel->technicianMenu()->isVisible());
        panel->technicianMenu()->hide();
        QCOMPARE(items().first(), QStringLiteral("Adam/PMenu_Tech6/6"));

        panel->technicianMenu()->actions()[4]->trigger();
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Editace]"));
        QCOMPARE(m.text("Ed_technik"), QStringLiteral("RD Servis"));
        m.act(RecordPanel::Save)->trigger();
        QCOMPARE(m.scalar("SELECT technik FROM cinnosti WHERE id = 2").toString(),
                 QStringLiteral("RD Servis"));
    }

    void savingChecksTheKindAndAsks()
    {
        Main m("[konfig]\r\nhsl=0\r\n");
        TestDialogs dialogs;
        m.act(RecordPanel::New)->trigger();
        typeText(m.find("Ed_cena_prace"), QStringLiteral("1500,5"));
        m.act(RecordPanel::Save)->trigger();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Volba Činnost musí být zvolená!"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CB_cinnost"));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Vkládání]"));

        auto* kind = m.find<QComboBox>("CB_cinnost");
        kind->setCurrentIndex(kind->findText(QStringLiteral("Kontrola")));
        emit kind->activated(kind->currentIndex());
        const QString question =
            QStringLiteral("Byly provedeny změny v záznamu Činnosti. Chcete tyto změny uložit?");
        dialogs.answerQuestion(Answer::No);
        m.act(RecordPanel::Save)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Pozor"), question);
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Vkládání]"));
        QCOMPARE(m.scalar("SELECT count(*) FROM cinnosti").toInt(), 4);

        dialogs.answerQuestion(Answer::Yes);
        m.act(RecordPanel::Save)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Pozor"), question);
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(m.scalar("SELECT id_zakaznika || '/' || id_topneho_zdroje || '/' || cinnost FROM cinnosti "
                          "WHERE id = 5")
                     .toString(),
                 QStringLiteral("1/1/2"));
        QCOMPARE(m.scalar("SELECT cena_prace FROM cinnosti WHERE id = 5").toDouble(), 1500.5);
        QCOMPARE(m.text("Ed_cena_prace"), QStringLiteral("1500,5"));
    }

    void deletionNamesTheDate()
    {
        Main m;
        TestDialogs dialogs;
        const QString question = QStringLiteral("Opravdu chcete odstranit činnost ze dne \"1.1.2023\" ?");
        dialogs.answerQuestion(Answer::No);
        m.act(RecordPanel::Delete)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"), question);
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 3"));

        dialogs.answerQuestion(Answer::Yes);
        m.act(RecordPanel::Delete)->trigger();
        dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"), question);
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 2"));
        QCOMPARE(m.scalar("SELECT count(*) FROM cinnosti WHERE id = 2").toInt(), 0);
    }

    void listingShowsWhatIsOnScreen()
    {
        Main m;
        TestDialogs dialogs;
        typeText(m.find("Ed_technik"), QStringLiteral(" ml.")); // not saved
        child<QAction>(*m.w->activityPanel(), Akce_Vypis_Cin)->trigger();
        const TextWindowOptions shown = dialogs.textWindows.value(0);
        QCOMPARE(shown.text,
                 QStringLiteral("Činnost: Kontrola\r\nDatum uskutečnění: 1.1.2023\r\n"
                                "Datum příští revize/kontroly: 1.2.2023\r\nTechnik: Novák ml.\r\n"
                                "Cena doprava: 150 Kč\r\nCena práce: 1500,5 Kč\r\nCena materiál: 0,25 Kč\r\n"
                                "Cena ostatní:  Kč\r\nPoznámka: \r\na\r\nb"));
        QCOMPARE(windowLayout(shown), windowLayout(recordListingWindow(QStringLiteral("Výpis činnosti"))));
        QCOMPARE(m.text("La_Rezim_Cin"), QStringLiteral("[Editace]"));
    }

    void theSearchForm()
    {
        Main m(noSaveQuestion, 0);
        TestDialogs dialogs;
        dialogs.onModal([&](QDialog& d) {
            showActive(&d);
            [&] {
                QCOMPARE(d.windowTitle(), QStringLiteral("Otevřít kartu tepelného zdroje"));
                QCOMPARE(d.size(), QSize(282, 196));
                QVERIFY(child<QRadioButton>(d, "RB_VyrobniCislo")->isChecked());
                auto* open = child<QAbstractButton>(d, "Tl_Otevrit");
                auto* value = child<QLineEdit>(d, "Ed_VstupniPole");
                QVERIFY(!open->isEnabled());
                typeText(value, QStringLiteral("Č"));
                QVERIFY(open->isEnabled());
                QTest::keyClick(value, Qt::Key_Backspace);
                QVERIFY(!open->isEnabled());
                typeText(value, QString(31, u'9'));
                QCOMPARE(value->text().size(), 30);
                child<QWidget>(d, "Tl_Storno")->setFocus();
                clickRadio(child<QRadioButton>(d, "RB_CarovyKod"));
                QCOMPARE(QApplication::focusWidget(), value);
            }();
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        m.findCard();
        dialogs.onModal([](QDialog& d) {
            d.accept();
            return d.result();
        }); // confirmed without a value
        m.findCard();
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Není zadaná hodnota pro vyhledávání!"));
        QCOMPARE(m.openCustomer(), 0);
    }

    void oneCardOpensItsOwnerWithTheCardCurrent()
    {
        Main m(noSaveQuestion, 0);
        TestDialogs dialogs;
        const QString notFound = QStringLiteral("Karta přístroje nebyla nalezena!");
        for (const auto& [barcode, value] : {std::pair{true, QStringLiteral("X-1")},      // a serial number
                                             std::pair{false, QStringLiteral("X-1 ")}}) { // a trailing space
            m.findCard(dialogs, barcode, value);
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"), notFound);
        }
        m.exec("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, vyrobni_cislo) VALUES (99, "
               "'Sirotek', 'S', 1, 'S-9')");
        m.findCard(dialogs, false, QStringLiteral("S-9")); // its owner is gone: nothing happens
        QCOMPARE(m.openCustomer(), 0);

        // A serial number typed from a label: letter case does not matter, in any alphabet.
        m.findCard(dialogs, false, QStringLiteral("o'b-7"));
        QCOMPARE(m.openCustomer(), 2);
        QCOMPARE(m.text("La_OtevrenyZakaznik"), QStringLiteral("Beta"));
        QCOMPARE(m.text("La_Pocitadlo"), QStringLiteral("2 z 2"));
        QCOMPARE(m.text("Ed_nazev"), QStringLiteral("Kotel B2"));
        QCOMPARE(m.text("La_Pocitadlo_Cin"), QStringLiteral("1 z 1"));
        QCOMPARE(m.text("Ed_datum"), QStringLiteral("2.2.2022"));
        QVERIFY(!m.w->action(Akce_OtevritTZ)->isEnabled() && m.w->action(Akce_ZavritZakaznika)->isEnabled());

        m.w->closeCustomer();
        m.findCard(dialogs, true, QStringLiteral("b-3"));
        QCOMPARE(m.text("Ed_nazev"), QStringLiteral("Kotel B2"));

        m.w->closeCustomer();
        m.exec("UPDATE topny_zdroj SET vyrobni_cislo = 'ŘEŽ-Č1' WHERE id = 3");
        m.findCard(dialogs, false, QStringLiteral("řež-č1"));
        QCOMPARE(m.text("Ed_nazev"), QStringLiteral("Kamna B1"));
    }

    void severalCardsAreOfferedInAList()
    {
        Main m(noSaveQuestion, 0);
        TestDialogs dialogs;
        m.exec("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, carovy_kod) VALUES "
               "(2, 'Třetí', 'T', 1, 'SHARED'), (99, 'Sirotek', 'S', 1, 'SHARED')");
        const QString question =
            QStringLiteral("Bylo nalezeno více karet přístrojů. Chcete nabídnout seznam všech "
                           "spotřebičů, které vyhovují zadání?");
        // Searches the shared barcode, says Yes and does in the list what the test asks.
        const auto throughTheList = [&](std::function<void(QDialog&, DBGrid*)> inList) {
            dialogs.onModal(search(true, QStringLiteral("Shared")));
            dialogs.answerQuestion(Answer::Yes);
            dialogs.onModal([=](QDialog& d) {
                inList(d, child<DBGrid>(d, "DBGrid1"));
                return d.result();
            });
            m.findCard();
            dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Vestibor"), question);
        };
        dialogs.answerQuestion(Answer::No);
        m.findCard(dialogs, true, QStringLiteral("SHARED"));
        dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Vestibor"), question);
        QCOMPARE(m.openCustomer(), 0);

        int chosenCard = 0;
        QString chosenOwner;
        throughTheList([&](QDialog& d, DBGrid* grid) {
            showActive(&d);
            QCOMPARE(d.windowTitle(), QStringLiteral("Otevřít kartu - více detailů"));
            QCOMPARE(d.size(), QSize(753, 352));
            QStringList titles;
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                titles << grid->model()->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(titles, (QStringList{"Id", "Zákazník", "Název", "Typ", "Výrobce", "Výrobní číslo",
                                          "Čárový kód", "Rok výroby", "Kategorie", "Lhůta"}));
            QCOMPARE(grid->columnWidths(), (QList<int>{30, 150, 150, 100, 100, 100, 100, 60, 50, 50}));
            QCOMPARE(grid->model()->rowCount(), 3); // the card without an owner is not listed
            QCOMPARE(QApplication::focusWidget(), grid);
            QCOMPARE(grid->model()->index(0, 8).data().toString(), QStringLiteral("1")); // the category's id
            chosenCard = grid->model()->index(1, 0).data().toInt();
            chosenOwner = grid->model()->index(1, 1).data().toString();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(1, 0)).center());
            QTest::mouseClick(child<QAbstractButton>(d, "Tl_Ok"), Qt::LeftButton);
        });
        QVERIFY(chosenCard > 0);
        QCOMPARE(m.text("La_OtevrenyZakaznik"), chosenOwner);
        QCOMPARE(m.currentCard(), chosenCard);
        m.w->closeCustomer();

        throughTheList([](QDialog& d, DBGrid*) {
            QTest::mouseClick(child<QAbstractButton>(d, "Tl_Storno"), Qt::LeftButton);
        });
        QCOMPARE(m.openCustomer(), 0);
        throughTheList([&](QDialog&, DBGrid* grid) { // a double click acts as "Ok"
            chosenCard = grid->model()->index(2, 0).data().toInt();
            doubleClickRow(grid, 2);
        });
        QCOMPARE(m.currentCard(), chosenCard);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestActivities)
#include "tst_activities.moc"
