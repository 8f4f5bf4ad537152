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
        QTest::newRow("1") << "Akce_OtevritZakaznika"
                           << "Otevřít zákazníka" << QKeySequence(QStringLiteral("Ctrl+O"));
        QTest::newRow("2") << "Akce_ZavritZakaznika"
                           << "Zavřít zákazníka" << QKeySequence(QStringLiteral("Ctrl+W"));
        QTest::newRow("3") << "Akce_OtevritTZ"
                           << "Otevřít TZ" << QKeySequence(QStringLiteral("Ctrl+Shift+O"));
        QTest::newRow("4") << "Akce_Konec"
                           << "Konec" << QKeySequence();
        QTest::newRow("5") << "Akce_UdajeUzivatele"
                           << "Údaje uživatele" << QKeySequence();
        QTest::newRow("6") << "Akce_CiselnikZakazniku"
                           << "Číselník zákazníků" << QKeySequence();
        QTest::newRow("7") << "Akce_CiselnikCinnosti"
                           << "Číselnik činností" << QKeySequence();
        QTest::newRow("8") << "Akce_CiselnikKategorii"
                           << "Číselník kategorií" << QKeySequence();
        QTest::newRow("9") << "Akce_CiselnikTechniku"
                           << "Číselník techniků" << QKeySequence();
        QTest::newRow("10") << "Akce_DomovskaStranka"
                            << "Domovská stránka (on-line)" << QKeySequence();
        QTest::newRow("11") << "Akce_OProgramu"
                            << "O programu" << QKeySequence();
        QTest::newRow("12") << "Akce_ZmenaHesla"
                            << "Změna hesla" << QKeySequence();
        QTest::newRow("13") << "Akce_Konfig"
                            << "Nastavení prostředí" << QKeySequence();
        QTest::newRow("14") << "Akce_Tisk"
                            << "Tisk" << QKeySequence(QStringLiteral("Ctrl+P"));
        QTest::newRow("15") << "Akce_ImportZakazniku"
                            << "Import zákazníků" << QKeySequence();
        QTest::newRow("16") << "Akce_PlanRevizi"
                            << "Plán revizí" << QKeySequence(QStringLiteral("Ctrl+R"));
        QTest::newRow("17") << "Akce_ZalohovatDatabazi"
                            << "Zálohovat databázi…" << QKeySequence();
        QTest::newRow("18") << "Akce_ObnovitZeZalohy"
                            << "Obnovit ze zálohy…" << QKeySequence();
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
