// The customer register: its layout, the sort orders and their setting, validation of the
// name, deletion with the customer's cards and activities, the e-mail button, the listing,
// the export, and what the main window keeps between two openings.
#include "app/Hlavni_f.h"
#include "codelists/CisZakazniku_f.h"
#include "helpers/SafeFile.h"
#include "store/DataSet.h"
#include "support/FindChild.h"
#include "support/OpenContext.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/CommandNames.h"
#include "uikit/DBCheckBox.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/Dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

int noCustomerOpen()
{
    return 0;
}

const QString closeQuestion = QStringLiteral(
    "Formulář je v režimu editace. Pokud byly hodnoty záznamu změněny, požadujete jejich uložení?");

// Four customers whose every sort column orders them differently (Czech collation, text
// comparison of numbers). Customer 2 is a company with warranty and watched inspections;
// customer 3 has no flags at all.
void addCustomers(Connection& c)
{
    c.execute(QStringLiteral(
        "INSERT INTO cis_zakaznici (nazev, osoba, ulice, mesto, psc, ico, email, zaruka5let, hlidani_revizi, "
        "je_firma, poznamka1) VALUES "
        "('Čermák', 'Bláha', 'Krátká 1', 'Praha', '70200', '25', 'info@firma.cz', FALSE, FALSE, FALSE, "
        "'pozn'), "
        "('Adam', 'Zeman', 'Lipová 2', 'Brno', '11000', '100', 'info@firma.cz', TRUE, TRUE, TRUE, 'pozn'), "
        "('Cibulka', 'Adámek', 'Dlouhá 3', 'Hodonín', '60200', '9', NULL, NULL, NULL, NULL, NULL), "
        "('Dvořák', 'Malý', 'Alšova 4', 'Cheb', '35002', '31', NULL, FALSE, FALSE, FALSE, NULL)"));
}

int scalar(Connection& c, const QString& sql)
{
    return c.query(sql).rows.value(0).value(0).toInt();
}

QList<int> shownIds(const DataSet* ds)
{
    QList<int> ids;
    for (int row = 0; row < ds->recordCount(); ++row)
        ids << ds->rowValue(row, ds->fieldIndex(QStringLiteral("id"))).toInt();
    return ids;
}

// As a choice from the box's list: the item becomes current, then "activated" is reported.
void choose(TCisZakazniku& w, int index)
{
    auto* box = child<QComboBox>(w, QStringLiteral("CBox_SetrideniZakazniku"));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// "name x,y wxh" of the children named in the expected lines, for one comparison.
QStringList geometries(QWidget& w, const QStringList& expected)
{
    QStringList out;
    for (const QString& line : expected) {
        const QString name = line.section(u' ', 0, 0);
        const QRect r = child(w, name)->geometry();
        out << QString::asprintf("%s %d,%d %dx%d", qPrintable(name), r.x(), r.y(), r.width(), r.height());
    }
    return out;
}

bool takeInfo(TestDialogs& dialogs, const char* text)
{
    return dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"), QString::fromUtf8(text));
}

QString label(QWidget& w, const char* name)
{
    return child<QLabel>(w, QString::fromLatin1(name))->text();
}

QString nameOf(OpenContext& f, int id)
{
    const QString sql = QStringLiteral("SELECT nazev FROM cis_zakaznici WHERE id = %1").arg(id);
    return f.context.connection.query(sql).rows[0][0].toString();
}

} // namespace

class TestRegister : public QObject
{
    Q_OBJECT
private slots:
    void layoutTabOrderAndEnter()
    {
        OpenContext f;
        addCustomers(f.context.connection);
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Číselník zákazníků"));
        QCOMPARE(w.size(), QSize(700, 550));
        QCOMPARE(w.minimumSize(), QSize(700, 550));
        QVERIFY(w.maximumWidth() > 700 && w.maximumHeight() > 550);
        QStringList captions;
        for (const char* c : {"nazev", "osoba", "ulice", "mesto", "psc", "ico", "dic", "tel", "mobil",
                              "email", "poznamka1", "poznamka2"})
            captions << child<QLabel>(w, QStringLiteral("La_") + QLatin1String(c))->text();
        QCOMPARE(captions.join(u'|'), QStringLiteral("Název|Odpovědná osoba|Ulice, č.p.|Město|PSČ|IČO|DIČ|"
                                                     "Telefon|Mobil|E-mail|Poznámka 1|Poznámka 2"));
        QVERIFY(child<QLabel>(w, QStringLiteral("La_psc"))->alignment() & Qt::AlignRight);
        QCOMPARE(child<DBCheckBox>(w, QStringLiteral("ChB_je_firma"))->text(),
                 QStringLiteral("Zákazník je firma (má status právnické osoby)"));
        QCOMPARE(child<QPushButton>(w, QStringLiteral("Tl_Email"))->text(), QStringLiteral("..."));
        const QStringList design =
            QStringLiteral(
                "Panel_Horni 0,0 700x65|Panel_Dolni 0,509 700x41|DBGrid1 0,65 265x444|"
                "CBox_SetrideniZakazniku 8,40 257x21|Tl_Novy 272,8 75x25|Tl_Storno 592,8 75x25|"
                "Tl_Export 272,517 75x25|Tl_Vypis 352,517 75x25|Tl_Zavrit 592,517 75x25|"
                "La_Pocitadlo 8,529 75x17|La_Rezim 88,529 100x17|"
                "La_nazev 288,80 89x21|La_poznamka2 288,432 89x21|Ed_nazev 384,80 201x21|"
                "Ed_osoba 384,104 201x21|Ed_ulice 384,128 201x21|Ed_mesto 384,152 201x21|"
                "Ed_psc 384,176 49x21|Ed_ico 384,200 161x21|Ed_dic 384,224 161x21|"
                "Ed_tel 384,248 161x21|Ed_mobil 384,272 161x21|Ed_email 384,296 201x21|"
                "Tl_Email 592,296 25x21|ChB_zaruka5let 384,328 89x17|ChB_hlidani_revizi 384,352 89x17|"
                "ChB_je_firma 384,376 249x17|Ed_poznamka1 384,408 281x21|Ed_poznamka2 384,432 281x21")
                .split(u'|');
        QCOMPARE(geometries(w, design), design);
        // Larger: the grid grows with the height, the strips follow their edges, the fields stay.
        w.resize(900, 700);
        const QStringList resized =
            QStringLiteral("Panel_Horni 0,0 900x65|Panel_Dolni 0,659 900x41|DBGrid1 0,65 265x594|"
                           "Tl_Zavrit 592,667 75x25|Ed_email 384,296 201x21|Tl_Email 592,296 25x21|"
                           "Ed_poznamka2 384,432 281x21")
                .split(u'|');
        QCOMPARE(geometries(w, resized), resized);

        showActive(&w);
        QStringList order;
        QWidget* start = child(w, QStringLiteral("Tl_Novy"));
        for (QWidget* x = start; order.size() < 30; x = x->nextInFocusChain()) {
            if (x->window() == &w && x != &w && (x->focusPolicy() & Qt::TabFocus) && x->isVisibleTo(&w))
                order << x->objectName();
            if (x->nextInFocusChain() == start)
                break;
        }
        QCOMPARE(order.join(u' '),
                 QStringLiteral(
                     "Tl_Novy Tl_Edit Tl_Smazat Tl_Ulozit Tl_Storno CBox_SetrideniZakazniku DBGrid1 "
                     "Ed_nazev Ed_osoba Ed_ulice Ed_mesto Ed_psc Ed_ico Ed_dic Ed_tel Ed_mobil Ed_email "
                     "ChB_zaruka5let ChB_hlidani_revizi ChB_je_firma Ed_poznamka1 Ed_poznamka2 Tl_Zavrit"));
        child(w, QStringLiteral("Ed_email"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ChB_zaruka5let"));
        child(w, QStringLiteral("Ed_poznamka2"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Tl_Zavrit"));
        QVERIFY(w.isVisible());
        QCOMPARE(w.dataSet()->state(), DataSet::State::Browse);
        w.panel()->action(RecordPanel::Edit)->trigger(); // "Oprava" starts in the name
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_nazev"));
    }

    void sortOrderFromTheSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("trideni");
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("0 insertion") << QByteArray("0") << 0 << QList<int>{1, 2, 3, 4};
        QTest::newRow("1 name") << QByteArray("1") << 1 << QList<int>{2, 3, 1, 4};
        QTest::newRow("2 person") << QByteArray("2") << 2 << QList<int>{3, 1, 4, 2};
        QTest::newRow("3 street") << QByteArray("3") << 3 << QList<int>{4, 3, 1, 2};
        QTest::newRow("4 town, ch after h") << QByteArray("4") << 4 << QList<int>{2, 3, 4, 1};
        QTest::newRow("5 postcode") << QByteArray("5") << 5 << QList<int>{2, 4, 3, 1};
        QTest::newRow("6 ico as text") << QByteArray("6") << 6 << QList<int>{2, 1, 4, 3};
        QTest::newRow("7 outside") << QByteArray("7") << 0 << QList<int>{1, 2, 3, 4};
        QTest::newRow("-1 outside") << QByteArray("-1") << 0 << QList<int>{1, 2, 3, 4};
        QTest::newRow("not a number") << QByteArray("abc") << 0 << QList<int>{1, 2, 3, 4};
    }
    void sortOrderFromTheSettingsFile()
    {
        QFETCH(QByteArray, trideni);
        QFETCH(int, index);
        QFETCH(QList<int>, ids);
        OpenContext f;
        addCustomers(f.context.connection);
        f.writeIni("[konfig]\r\nhsl=0\r\n[cisZAKAZNIKU]\r\ntrideni=" + trideni + "\r\n");
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        auto* box = child<QComboBox>(w, QStringLiteral("CBox_SetrideniZakazniku"));
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, (QStringList{"Pořadí vložení", "Názvu", "Osoby", "Ulice", "Města", "PSČ", "IČO"}));
        QCOMPARE(box->currentIndex(), index);
        QCOMPARE(shownIds(w.dataSet()), ids);
        QCOMPARE(w.dataSet()->recNo(), 1);
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("1 z 4"));
    }

    void choosingAnOrderResortsExportsInItAndClosingStoresIt()
    {
        OpenContext f;
        addCustomers(f.context.connection);
        f.writeIni("[konfig]\r\nhsl=0\r\n[CisZakazniku]\r\nTrideni=4\r\n");
        TestDialogs dialogs;
        {
            TCisZakazniku w(f.context, noCustomerOpen, nullptr);
            QCOMPARE(child<QComboBox>(w, QStringLiteral("CBox_SetrideniZakazniku"))->currentText(),
                     QStringLiteral("Města"));
            w.dataSet()->last();
            choose(w, 1);
            QCOMPARE(shownIds(w.dataSet()), (QList<int>{2, 3, 1, 4}));
            QCOMPARE(w.dataSet()->recNo(), 1);
            QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Prohlížení]"));
            dialogs.answerSaveFile(FileChoice{f.dir.path(QStringLiteral("z.xml")), 0});
            w.command(Akce_Export)->trigger();
            QCOMPARE(dialogs.lastSaveSuggestion, QStringLiteral("zakaznik"));
            const QByteArray xml = f.dir.readFile(QStringLiteral("z.xml"));
            QVERIFY(xml.indexOf("Adam") < xml.indexOf("Cibulka") &&
                    xml.indexOf("Cibulka") < xml.indexOf("Čermák") &&
                    xml.indexOf("Čermák") < xml.indexOf("Dvořák"));
            w.command(Akce_Zavrit)->trigger();
            QVERIFY(!w.dataSet()->isOpen());
            QCOMPARE(f.database.withoutServerSection(f.dir.readFile(QStringLiteral("Vestibor.ini"))),
                     QByteArray("[konfig]\r\nhsl=0\r\n[CisZakazniku]\r\nTrideni=1\r\n"));
        }
        // A settings file that cannot be written: reported, and the window closes all the same.
        const QString ini = f.dir.path(QStringLiteral("Vestibor.ini"));
        const QByteArray before = f.dir.readFile(QStringLiteral("Vestibor.ini"));
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        w.show();
        w.move(40, 30);
        SafeFile::failNextForTesting(SafeFile::Step::Rename, EROFS);
        w.command(Akce_Zavrit)->trigger();
        dialogs.takeMessage(MessageKind::Error, QStringLiteral("Vestibor"),
                            QStringLiteral("Unable to write to %1\r\nRead-only file system").arg(ini));
        QCOMPARE(f.dir.readFile(QStringLiteral("Vestibor.ini")), before);
        QVERIFY(!w.isVisible());
        QCOMPARE(f.context.PoziceCiselnikuZakazniku.left, 40);
    }

    void choosingAnOrderWhileEditingAsksFirst()
    {
        OpenContext f;
        addCustomers(f.context.connection);
        TestDialogs dialogs;
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        auto* box = child<QComboBox>(w, QStringLiteral("CBox_SetrideniZakazniku"));
        w.dataSet()->edit();
        w.dataSet()->setValue(QStringLiteral("nazev"), QStringLiteral("Zdeněk"));

        dialogs.answerQuestion(Answer::Cancel); // the old order stays, and the change with it
        choose(w, 1);
        dialogs.takeQuestion(QuestionKind::YesNoCancel, QStringLiteral("Pozor!"), closeQuestion);
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(w.dataSet()->state(), DataSet::State::Edit);
        QCOMPARE(w.dataSet()->text(QStringLiteral("nazev")), QStringLiteral("Zdeněk"));

        dialogs.answerQuestion(Answer::No); // discarded, then re-sorted
        choose(w, 2);
        dialogs.take();
        QCOMPARE(box->currentIndex(), 2);
        QCOMPARE(shownIds(w.dataSet()), (QList<int>{3, 1, 4, 2}));
        QCOMPARE(nameOf(f, 1), QStringLiteral("Čermák"));

        w.dataSet()->append(); // Yes with an empty name: refused, still inserting in the old order
        dialogs.answerQuestion(Answer::Yes);
        choose(w, 1);
        dialogs.take();
        takeInfo(dialogs, "Kolonka Název musí být vyplněná!");
        QCOMPARE(box->currentIndex(), 2);
        QCOMPARE(w.dataSet()->state(), DataSet::State::Insert);

        w.dataSet()->setValue(QStringLiteral("nazev"), QStringLiteral("Bartoš"));
        dialogs.answerQuestion(Answer::Yes); // saved, then re-sorted by name
        choose(w, 1);
        dialogs.take();
        QCOMPARE(shownIds(w.dataSet()), (QList<int>{2, 5, 3, 1, 4}));
        QCOMPARE(w.dataSet()->state(), DataSet::State::Browse);
    }

    void nameValidationAndTrailingSpaces_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("spaces both sides") << QStringLiteral("  Novák ") << QStringLiteral("Novák");
        QTest::newRow("leading only") << QStringLiteral("  Novák") << QStringLiteral("  Novák");
        QTest::newRow("control characters") << QStringLiteral("\t Novák\t ") << QStringLiteral("Novák");
        QTest::newRow("trailing tab only") << QStringLiteral("Novák\t") << QStringLiteral("Novák\t");
        QTest::newRow("spaces only") << QStringLiteral("   ") << QString();
    }
    void nameValidationAndTrailingSpaces()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        OpenContext f;
        TestDialogs dialogs;
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        showActive(&w);
        w.panel()->action(RecordPanel::New)->trigger();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Ed_nazev"));
        w.panel()->action(RecordPanel::Save)->trigger();
        takeInfo(dialogs, "Kolonka Název musí být vyplněná!");
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Vkládání]"));
        QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 0);
        w.dataSet()->setValue(QStringLiteral("nazev"), typed);
        w.panel()->action(RecordPanel::Save)->trigger();
        QCOMPARE(label(w, "La_Rezim"), QStringLiteral("[Prohlížení]"));
        QCOMPARE(nameOf(f, 1), stored);
    }

    void deletionRefusalsAndTheCascadeInOneTransaction()
    {
        OpenContext f;
        TestDialogs dialogs;
        int openCustomer = 0;
        TCisZakazniku w(
            f.context, [&] { return openCustomer; }, nullptr);
        const auto refused = [&](const char* text) {
            w.panel()->deleteCurrent();
            return takeInfo(dialogs, text);
        };
        QVERIFY(refused("Není vybrán žádný zákazník.")); // empty register
        addCustomers(f.context.connection);
        f.exec(QStringLiteral("UPDATE cis_zakaznici SET nazev = '  Adam  ' WHERE id = 2"));
        f.exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES "
                              "(2, 'K', 'T', 1), (2, 'K', 'T', 1), (3, 'K', 'T', 1)"));
        f.exec(QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost) VALUES "
                              "(2, 1, 1), (2, 1, 1), (2, 2, 1), (2, 2, 1), (2, 2, 1), (3, 3, 1)"));
        const auto rowsOf = [&](int customer) {
            return scalar(f.context.connection,
                          QStringLiteral("SELECT (SELECT count(*) FROM topny_zdroj WHERE "
                                         "id_zakaznika = %1) + (SELECT count(*) FROM "
                                         "cinnosti WHERE id_zakaznika = %1)")
                              .arg(customer));
        };
        w.dataSet()->refresh();
        w.dataSet()->append();
        QVERIFY(refused("Není vybrán žádný zákazník.")); // a new row is no stored row
        w.dataSet()->cancel();
        w.dataSet()->moveTo(2);
        w.dataSet()->edit();
        QVERIFY(refused("Odstranění záznamu v režimu Editace není možné."));
        w.dataSet()->cancel();
        openCustomer = 2;
        QVERIFY(refused("Nelze mazat zákazníka, pokud je současně otevřený!"));
        openCustomer = 0;
        QCOMPARE(rowsOf(2), 7);

        // Whichever delete the database refuses (the customer, its cards or its activities),
        // the customer keeps its cards and activities.
        const QString question = QStringLiteral(
            "Opravdu chcete odstranit záznam \"Adam\"?\r\n(Budou odstraněny i karty všech TZ a činnosti.)");
        for (const char* table : {"cis_zakaznici", "topny_zdroj", "cinnosti"}) {
            refuseWrites(f.context.connection, QLatin1String(table), QStringLiteral("DELETE"));
            dialogs.answerQuestion(Answer::Yes);
            w.panel()->action(RecordPanel::Delete)->trigger();
            dialogs.takeQuestion(QuestionKind::YesNoWarning, QStringLiteral("Varování"), question);
            dialogs.takeMessage(MessageKind::Plain, QStringLiteral("Vestibor"),
                                QStringLiteral("Při mazání záznamů nastala neočekávaná chyba..."));
            QCOMPARE(rowsOf(2), 7);
            QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 4);
            QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("2 z 4"));
            allowWrites(f.context.connection, QLatin1String(table));
        }

        dialogs.answerQuestion(Answer::No);
        w.panel()->action(RecordPanel::Delete)->trigger();
        dialogs.take();
        QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 4);

        dialogs.answerQuestion(Answer::Yes);
        w.panel()->action(RecordPanel::Delete)->trigger();
        dialogs.take();
        QCOMPARE(rowsOf(2), 0);
        QCOMPARE(rowsOf(3), 2); // the neighbour keeps its own
        QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 3);
        QCOMPARE(label(w, "La_Pocitadlo"), QStringLiteral("2 z 3"));
        QCOMPARE(w.dataSet()->value(QStringLiteral("id")).toInt(), 3);
    }

    void emailButton_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: handed to the shell
        QTest::newRow("empty") << QString() << QStringLiteral("Není zadaná emailová adresa.");
        QTest::newRow("no at") << QStringLiteral("novak")
                               << QStringLiteral("Chybně zadaná adresa příjemce :  novak .");
        QTest::newRow("plain") << QStringLiteral("novák@firma.cz") << QString();
        QTest::newRow("spaces and two at") << QStringLiteral(" a b@c@d ") << QString();
    }
    void emailButton()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        OpenContext f;
        addCustomers(f.context.connection);
        TestDialogs dialogs;
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        showActive(&w);
        auto* email = child<DBEdit>(w, QStringLiteral("Ed_email"));
        email->selectAll();
        QTest::keyClick(email, Qt::Key_Delete);
        typeText(email, typed); // not saved: the button takes what the field shows
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("Tl_Email")), Qt::LeftButton);
        if (message.isEmpty()) {
            QCOMPARE(dialogs.shellTargets,
                     QList<QString>{QStringLiteral("mailto:") + typed +
                                    QStringLiteral("?subject=Předmět...&body=Zpráva...")});
        } else {
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"), message);
            QVERIFY(dialogs.shellTargets.isEmpty());
        }
        QCOMPARE(w.dataSet()->state(), DataSet::State::Edit);
    }

    void listingOfTheCustomerOnScreen()
    {
        OpenContext f;
        TestDialogs dialogs;
        {
            TCisZakazniku w(f.context, noCustomerOpen, nullptr);
            w.command(Akce_Vypis)->trigger();
            QCOMPARE(dialogs.textWindows.last().text,
                     QStringLiteral(
                         "Název: \r\nOdpovědná osoba: \r\nUlice, č.p.: \r\nMěsto: \r\nPSČ: \r\nIČO: \r\n"
                         "DIČ: \r\nTelefon: \r\nMobil: \r\nE-mail: \r\nZáruka 5 let: ne\r\n"
                         "Hlídání revizí: ne\r\nZákazník je firma: ne\r\nPoznámka 1: \r\nPoznámka 2: "));
        }
        addCustomers(f.context.connection);
        TCisZakazniku w(f.context, noCustomerOpen, nullptr);
        w.show();
        auto* firma = child<DBCheckBox>(w, QStringLiteral("ChB_je_firma"));
        QCOMPARE(firma->checkState(), Qt::Unchecked);
        w.dataSet()->moveTo(3);
        QCOMPARE(firma->checkState(), Qt::PartiallyChecked); // an empty value shows greyed
        w.dataSet()->moveTo(2);
        QCOMPARE(firma->checkState(), Qt::Checked);
        typeText(child<DBEdit>(w, QStringLiteral("Ed_poznamka2")),
                 QStringLiteral("čeká")); // shown, not saved
        w.command(Akce_Vypis)->trigger();
        const TextWindowOptions shown = dialogs.textWindows.last();
        QCOMPARE(windowLayout(shown), windowLayout({.caption = QStringLiteral("Výpis zákazníka"),
                                                    .width = 460,
                                                    .height = 320,
                                                    .scrollBars = TextScrollBars::None,
                                                    .fixedFont = true}));
        QCOMPARE(shown.text,
                 QStringLiteral(
                     "Název: Adam\r\nOdpovědná osoba: Zeman\r\nUlice, č.p.: Lipová 2\r\nMěsto: Brno\r\n"
                     "PSČ: 11000\r\nIČO: 100\r\nDIČ: \r\nTelefon: \r\nMobil: \r\nE-mail: info@firma.cz\r\n"
                     "Záruka 5 let: ano\r\nHlídání revizí: ano\r\nZákazník je firma: ano\r\n"
                     "Poznámka 1: pozn\r\nPoznámka 2: čeká"));
        w.dataSet()->cancel();
        w.dataSet()->moveTo(3); // greyed boxes count as not ticked
        w.command(Akce_Vypis)->trigger();
        QVERIFY(dialogs.textWindows.last().text.contains(QStringLiteral("\r\nZákazník je firma: ne\r\n")));
        QTest::mouseClick(firma, Qt::LeftButton); // a click on a greyed box ticks it and starts editing
        QCOMPARE(w.dataSet()->state(), DataSet::State::Edit);
        QCOMPARE(w.dataSet()->value(QStringLiteral("je_firma")), QVariant(true));
    }

    // The open customer cannot be deleted; placement and sort order are kept from one opening
    // to the next.
    void throughTheMainWindow()
    {
        ProgramDir dir;
        TestDialogs dialogs;
        THlavni main(dir.dir());
        QVERIFY(main.FormCreate());
        main.show();
        const auto open = [&](std::function<void(TCisZakazniku&)> work) {
            dialogs.onModal([work](QDialog& d) {
                work(static_cast<TCisZakazniku&>(d));
                d.reject();
                return int(QDialog::Rejected);
            });
            main.action(Akce_CiselnikZakazniku)->trigger();
        };
        addCustomers(main.context().connection);
        main.records().IdOtevrenehoZakaznika = 2;
        main.OtevritZakaznikaId();
        open([&](TCisZakazniku& w) {
            QCOMPARE(w.pos(), main.pos() + QPoint(80, 80));
            QCOMPARE(w.size(), QSize(700, 550));
            w.dataSet()->moveTo(2);
            w.panel()->action(RecordPanel::Delete)->trigger();
            takeInfo(dialogs, "Nelze mazat zákazníka, pokud je současně otevřený!");
            choose(w, 4);
            w.move(main.pos() + QPoint(150, 120));
            w.resize(820, 640);
        });
        QCOMPARE(scalar(main.context().connection, QStringLiteral("SELECT count(*) FROM cis_zakaznici")), 4);
        open([&](TCisZakazniku& w) {
            QCOMPARE(w.pos(), main.pos() + QPoint(150, 120));
            QCOMPARE(w.size(), QSize(820, 640));
            QCOMPARE(w.sortIndex(), 4);
            QCOMPARE(shownIds(w.dataSet()), (QList<int>{2, 3, 4, 1}));
        });
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestRegister)
#include "tst_register.moc"
