// The main window: its layout, menu, command table and the code lists it opens.
#include "app/Hlavni_f.h"
#include "codelists/CodeListFamily.h"
#include "store/DataSet.h"
#include "support/FindChild.h"
#include "support/ProgramDir.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/Dialogs.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

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
                "Akce_CiselnikCinnosti Akce_CiselnikTechniku — Akce_Tisk — Akce_ZmenaHesla Akce_Konfig — "
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

    void homePageOpensThroughTheShell()
    {
        TestDialogs dialogs;
        m_window->action(QStringLiteral("Akce_DomovskaStranka"))->trigger();
        QCOMPARE(dialogs.shellTargets, QStringList{QStringLiteral("http://www.vestibor.cz")});
    }

    void closingTheActivityKindsReloadsTheChoices()
    {
        TestDialogs dialogs;
        dialogs.onModal([](QDialog& d) {
            auto& w = static_cast<TCiselnik&>(d);
            w.dataSet()->append();
            w.dataSet()->setValue(QStringLiteral("nazev_cinnosti"), QStringLiteral("Revize"));
            w.dataSet()->post();
            w.reject();
            return d.result();
        });
        m_window->action(QStringLiteral("Akce_CiselnikCinnosti"))->trigger();
        QCOMPARE(m_window->context().DS_Cin2->recordCount(), 1);

        QStringList opened;
        dialogs.onModal([&](QDialog& d) {
            opened << d.objectName();
            auto& w = static_cast<TCiselnik&>(d);
            w.dataSet()->append();
            w.dataSet()->setValue(QStringLiteral("nazev_kategorie"), QStringLiteral("Kotle"));
            w.dataSet()->setValue(QStringLiteral("lhuta"), 12);
            w.dataSet()->post();
            w.reject();
            return d.result();
        });
        m_window->action(QStringLiteral("Akce_CiselnikKategorii"))->trigger();
        QCOMPARE(m_window->context().DS_Kategorie->recordCount(), 1);

        dialogs.onModal([&](QDialog& d) {
            opened << d.objectName() + u' ' + d.windowTitle();
            return 0;
        });
        m_window->action(QStringLiteral("Akce_CiselnikTechniku"))->trigger();
        QCOMPARE(opened, (QStringList{"TCisKategorii", "TCisTechniku Číselník techniků"}));
    }

    void konecClosesTheWindow()
    {
        m_window->action(QStringLiteral("Akce_Konec"))->trigger();
        QVERIFY(!m_window->isVisible());
    }
};

VESTIBOR_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
