// The main window: its layout, menu, command table and the code lists it opens.
#include "app/Hlavni_f.h"
#include "codelists/SmallCodeListWindow.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "store/DataSet.h"
#include "support/FindChild.h"
#include "support/ProgramDir.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/CommandNames.h"
#include "uikit/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {
// The sorted names of a widget's named children of one kind.
template <class T> QString childNames(const QObject* parent)
{
    QStringList names;
    for (T* child : parent->findChildren<T*>())
        if (!child->objectName().isEmpty())
            names << child->objectName();
    names.sort();
    return names.join(u' ');
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    ProgramDir* m_dir = nullptr;
    THlavni* m_window = nullptr;

private slots:
    void init()
    {
        m_dir = new ProgramDir;
        m_window = new THlavni(m_dir->dir());
        QVERIFY(m_window->FormCreate());
        m_window->show();
    }
    void cleanup()
    {
        delete m_window;
        delete m_dir;
    }

    // The commands' names stand spelt out here and in commandTable, not through their
    // constants: these two pin what every other test finds the commands by.
    void menuItemsInOrder()
    {
        QStringList menus;
        for (QAction* top : m_window->menuBar()->actions()) {
            QStringList items;
            for (QAction* item : top->menu()->actions())
                items << (item->isSeparator() ? QStringLiteral("—") : item->objectName());
            menus << top->text() + QStringLiteral(": ") + items.join(u' ');
        }
        QCOMPARE(
            menus,
            (QStringList{
                "Soubor: Akce_OtevritTZ Akce_OtevritZakaznika Akce_ZavritZakaznika Akce_PlanRevizi — "
                "Akce_Konec",
                "Servis: Akce_UdajeUzivatele — Akce_CiselnikZakazniku Akce_CiselnikKategorii "
                "Akce_CiselnikCinnosti Akce_CiselnikTechniku Akce_UctyTechniku — Akce_Tisk — Akce_ZmenaHesla "
                "Akce_Konfig — "
                "Akce_ImportZakazniku — Akce_ZalohovatDatabazi Akce_ObnovitZeZalohy",
                "Nápověda: Akce_DomovskaStranka Akce_OProgramu"}));
    }

    void commandTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        const auto row = [](const char* name, const char* caption, const QKeySequence& shortcut = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << shortcut;
        };
        row("Akce_OtevritZakaznika", "Otevřít zákazníka", QKeySequence(QStringLiteral("Ctrl+O")));
        row("Akce_ZavritZakaznika", "Zavřít zákazníka", QKeySequence(QStringLiteral("Ctrl+W")));
        row("Akce_OtevritTZ", "Otevřít TZ", QKeySequence(QStringLiteral("Ctrl+Shift+O")));
        row("Akce_Konec", "Konec");
        row("Akce_UdajeUzivatele", "Údaje uživatele");
        row("Akce_CiselnikZakazniku", "Číselník zákazníků");
        row("Akce_CiselnikCinnosti", "Číselnik činností");
        row("Akce_CiselnikKategorii", "Číselník kategorií");
        row("Akce_CiselnikTechniku", "Číselník techniků");
        row("Akce_DomovskaStranka", "Domovská stránka (on-line)");
        row("Akce_OProgramu", "O programu");
        row("Akce_ZmenaHesla", "Změna hesla");
        row("Akce_Konfig", "Nastavení prostředí");
        row("Akce_Tisk", "Tisk", QKeySequence(QStringLiteral("Ctrl+P")));
        row("Akce_ImportZakazniku", "Import zákazníků");
        row("Akce_PlanRevizi", "Plán revizí", QKeySequence(QStringLiteral("Ctrl+R")));
        row("Akce_ZalohovatDatabazi", "Zálohovat databázi…");
        row("Akce_ObnovitZeZalohy", "Obnovit ze zálohy…");
        row("Akce_UctyTechniku", "Účty techniků…");
    }
    void commandTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QAction* action = m_window->action(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
    }

    void toolbar()
    {
        const QStringList names{"Tl_OtevritTZ", "Tl_OtevritZakaznika", "Tl_ZavritZakaznika", "Tl_Tisk"};
        const QStringList captions{"Otevřít TZ", "Otevřít zákazníka", "Zavřít zákazníka", "Tisk"};
        for (int i = 0; i < names.size(); ++i) {
            auto* button = child<QPushButton>(*m_window, names[i]);
            QVERIFY(button);
            QCOMPARE(button->text(), captions[i]);
            QCOMPARE(button->geometry(), QRect(8 + 104 * i, 8, 97, 25));
        }
        QVERIFY(!child<QPushButton>(*m_window, "Tl_ZavritZakaznika")->isEnabled());
        auto* toolbar = child<QWidget>(*m_window, "Panel_Nastrojovy");
        QCOMPARE(toolbar->height(), 41);
        QCOMPARE(child<QLabel>(*m_window, "La_OtevrenyZakaznik")->x(), 488);
    }

    // The panels' commands and their buttons: the card panel's plain names, the activity
    // panel's with "_Cin"; the key dispatch and the tests find them by these.
    void panelCommandsAndButtons()
    {
        QCOMPARE(childNames<QAction>(m_window->cardPanel()),
                 QStringLiteral("Akce_Edit Akce_NaKonec Akce_NaZacatek Akce_Novy Akce_Smazat Akce_Storno "
                                "Akce_TiskKarty Akce_Ulozit Akce_Vpred Akce_Vypis Akce_Vzad"));
        QCOMPARE(childNames<QAbstractButton>(m_window->cardPanel()),
                 QStringLiteral(
                     "Tl_Edit Tl_NaKonec Tl_NaZacatek Tl_Novy Tl_Smazat Tl_Storno Tl_TiskKarty Tl_Ulozit "
                     "Tl_Vpred Tl_Vypis Tl_Vzad Tl_ZrusitVyrazeni Tl_vyrazeno_dne"));
        QCOMPARE(
            childNames<QAction>(m_window->activityPanel()),
            QStringLiteral("Akce_Edit_Cin Akce_NaKonec_Cin Akce_NaZacatek_Cin Akce_Novy_Cin Akce_Smazat_Cin "
                           "Akce_Storno_Cin Akce_Ulozit_Cin Akce_Vpred_Cin Akce_Vypis_Cin Akce_Vzad_Cin"));
        QCOMPARE(childNames<QAbstractButton>(m_window->activityPanel()),
                 QStringLiteral(
                     "Tl_Edit_Cin Tl_NaKonec_Cin Tl_NaZacatek_Cin Tl_Novy_Cin Tl_Smazat_Cin Tl_Storno_Cin "
                     "Tl_Ulozit_Cin Tl_Vpred_Cin Tl_Vypis_Cin Tl_Vzad_Cin Tl_datum Tl_datum_pristi "
                     "Tl_technik"));
    }

    void homePageOpensThroughTheShell()
    {
        TestDialogs dialogs;
        m_window->action(Akce_DomovskaStranka)->trigger();
        QCOMPARE(dialogs.shellTargets, QStringList{QStringLiteral("http://www.vestibor.cz")});
    }

    void closingTheActivityKindsReloadsTheChoices()
    {
        TestDialogs dialogs;
        dialogs.onModal([](QDialog& d) {
            auto& w = static_cast<SmallCodeListWindow&>(d);
            w.dataSet()->append();
            w.dataSet()->setValue(QStringLiteral("nazev_cinnosti"), QStringLiteral("Revize"));
            w.dataSet()->post();
            w.reject();
            return d.result();
        });
        m_window->action(Akce_CiselnikCinnosti)->trigger();
        QCOMPARE(m_window->records().DS_Cin2->recordCount(), 1);

        QStringList opened;
        dialogs.onModal([&](QDialog& d) {
            opened << d.objectName();
            auto& w = static_cast<SmallCodeListWindow&>(d);
            w.dataSet()->append();
            w.dataSet()->setValue(QStringLiteral("nazev_kategorie"), QStringLiteral("Kotle"));
            w.dataSet()->setValue(QStringLiteral("lhuta"), 12);
            w.dataSet()->post();
            w.reject();
            return d.result();
        });
        m_window->action(Akce_CiselnikKategorii)->trigger();
        QCOMPARE(m_window->records().DS_Kategorie->recordCount(), 1);

        dialogs.onModal([&](QDialog& d) {
            opened << d.objectName() + u' ' + d.windowTitle();
            return 0;
        });
        m_window->action(Akce_CiselnikTechniku)->trigger();
        QCOMPARE(opened, (QStringList{"TCisKategorii", "TCisTechniku Číselník techniků"}));
    }

    void konecClosesTheWindow()
    {
        m_window->action(Akce_Konec)->trigger();
        QVERIFY(!m_window->isVisible());
    }
};

VESTIBOR_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
