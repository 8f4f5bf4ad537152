// The data-aware widgets offscreen, and the grid's model.
#include "helpers/ConversionError.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "support/ProgramDir.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/DBCheckBox.h"
#include "uikit/DBComboList.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/DBLookupCombo.h"
#include "uikit/DBMemo.h"
#include "uikit/DataSetModel.h"
#include "uikit/LongWork.h"

#include <QAbstractItemModelTester>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QVBoxLayout>

class TestDataWidgets : public QObject
{
    Q_OBJECT

    ProgramDir* m_dir = nullptr;
    Connection* m_db = nullptr;
    TestDialogs* m_dialogs = nullptr;

    void addCard(int category)
    {
        m_db->execute(
            QStringLiteral("INSERT INTO topny_zdroj (nazev, typ, kategorie) VALUES ('Kotel', 'T', ?)"),
            {category});
    }
    QString storedText(const QString& sql) const
    {
        const ResultSet r = m_db->query(sql);
        return r.rows.isEmpty() ? QStringLiteral("<none>") : r.rows[0][0].toString();
    }
    static void showWindow(QWidget& window)
    {
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    static void retype(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        typeText(edit, text);
    }

    // A grid over the customers table, with the rows it has selected and a click on a row.
    struct GridWindow
    {
        DataSet ds;
        DataSource source{&ds, QStringLiteral("dsZakaznici")};
        QWidget window;
        DBGrid* grid = new DBGrid(&window, QStringLiteral("grid"));

        explicit GridWindow(Connection& db) : ds(db, QStringLiteral("Zakaznici"))
        {
            ds.setTableName(QStringLiteral("cis_zakaznici"));
            (new QVBoxLayout(&window))->addWidget(grid);
            grid->setColumns({{QStringLiteral("nazev"), QStringLiteral("Název"), 120}});
            grid->bind(&source);
        }
        QList<int> selectedRows() const
        {
            QList<int> rows;
            for (const QModelIndex& i : grid->selectionModel()->selectedRows())
                rows << i.row();
            return rows;
        }
        void click(int row)
        {
            const QRect cell = grid->visualRect(grid->model()->index(row, 0));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        }
    };

private slots:
    void init()
    {
        m_dir = new ProgramDir;
        m_db = new Connection(QStringLiteral("test"));
        m_db->open(m_dir->path(QStringLiteral("Vestibor.mdb")));
        m_dialogs = new TestDialogs;
    }
    void cleanup()
    {
        delete m_dialogs;
        delete m_db;
        delete m_dir;
    }

    void typingEditsABrowsedRowOrInsertsIntoAnEmptySet()
    {
        addCustomer(*m_db, QStringLiteral("Adam"), QStringLiteral("Brno"));
        addCustomer(*m_db, QStringLiteral("Bílý"));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        DataSource source(&ds, QStringLiteral("dsZakaznici"));
        QWidget window;
        auto* name = new DBEdit(&window, QStringLiteral("eNazev"));
        auto* postCode = new DBEdit(&window, QStringLiteral("ePsc"));
        auto* town = new DBEdit(&window, QStringLiteral("eMesto"));
        name->bind(&source, QStringLiteral("NAZEV"));
        postCode->bind(&source, QStringLiteral("psc"));
        town->bind(&source, QStringLiteral("mesto"));
        ds.open();
        QCOMPARE(name->text(), QStringLiteral("Adam"));
        QCOMPARE(name->maxLength(), 100);
        QCOMPARE(postCode->maxLength(), 10);
        QVERIFY(!name->isReadOnly());

        retype(name, QStringLiteral("Čermák"));
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Čermák"));
        retype(postCode, QStringLiteral("602 00 Brno-střed"));
        QCOMPARE(ds.value(QStringLiteral("psc")).toString(), QStringLiteral("602 00 Brn"));
        QVERIFY(ds.next());
        QCOMPARE(name->text(), QStringLiteral("Bílý"));
        QCOMPARE(town->text(), QString());
        QCOMPARE(storedText(QStringLiteral("SELECT nazev || psc FROM cis_zakaznici WHERE id = 1")),
                 QStringLiteral("Čermák602 00 Brn"));

        DataSet empty(*m_db, QStringLiteral("Kategorie"));
        empty.setTableName(QStringLiteral("cis_kategorie"));
        DataSource emptySource(&empty, QStringLiteral("dsKategorie"));
        auto* category = new DBEdit(&window, QStringLiteral("eKategorie"));
        category->bind(&emptySource, QStringLiteral("nazev_kategorie"));
        empty.open();
        typeText(category, QStringLiteral("Kotle"));
        QCOMPARE(empty.state(), DataSet::State::Insert);
        QCOMPARE(empty.recordCount(), 0);
        QCOMPARE(empty.value(QStringLiteral("nazev_kategorie")).toString(), QStringLiteral("Kotle"));
    }

    void aJoinedSetShowsReadOnly()
    {
        addCustomer(*m_db, QStringLiteral("Adam"));
        addCard(1);
        m_db->execute(QStringLiteral("UPDATE topny_zdroj SET id_zakaznika = 1"));
        DataSet ds(*m_db, QStringLiteral("Prehled"));
        ds.setCommandText(
            QStringLiteral("SELECT * FROM cis_zakaznici JOIN topny_zdroj ON topny_zdroj.id_zakaznika = "
                           "cis_zakaznici.id"));
        DataSource source(&ds, QStringLiteral("dsPrehled"));
        DBEdit edit(nullptr, QStringLiteral("eTyp"));
        edit.bind(&source, QStringLiteral("typ"));
        ds.open();
        QVERIFY(edit.isReadOnly());
        typeText(&edit, QStringLiteral("X"));
        QCOMPARE(edit.text(), QStringLiteral("T"));
        QCOMPARE(ds.state(), DataSet::State::Browse);
    }

    void numbersRefuseLettersAndHalfTypedDatesAreRefusedAtPost()
    {
        addCard(1);
        DataSet ds(*m_db, QStringLiteral("Karty"));
        ds.setTableName(QStringLiteral("topny_zdroj"));
        DataSource source(&ds, QStringLiteral("dsKarty"));
        DBEdit category(nullptr, QStringLiteral("eKategorie"));
        DBEdit retired(nullptr, QStringLiteral("eVyrazeno"));
        category.bind(&source, QStringLiteral("kategorie"));
        retired.bind(&source, QStringLiteral("vyrazeno_dne"));
        ds.open();
        QCOMPARE(ds.field(QStringLiteral("vyrazeno_dne")).kind, ColumnKind::Date);

        retype(&category, QStringLiteral("1a2"));
        QCOMPARE(category.text(), QStringLiteral("12"));
        QCOMPARE(ds.value(QStringLiteral("kategorie")), QVariant(qint64(12)));

        typeText(&retired, QStringLiteral("5.3."));
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QVERIFY_THROWS_EXCEPTION(ConversionError, ds.post());
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(retired.text(), QStringLiteral("5.3."));
        QCOMPARE(storedText(QStringLiteral("SELECT kategorie FROM topny_zdroj")), QStringLiteral("1"));

        retired.end(false);
        typeText(&retired, QStringLiteral("2024"));
        QCOMPARE(ds.value(QStringLiteral("vyrazeno_dne")), QVariant(QDate(2024, 3, 5)));
        QVERIFY(ds.post());
        QCOMPARE(storedText(QStringLiteral("SELECT kategorie || ' ' || vyrazeno_dne FROM topny_zdroj")),
                 QStringLiteral("12 2024-03-05"));
        QCOMPARE(retired.text(), QStringLiteral("5.3.2024"));
    }

    void memoKeepsLineBreaksAsCrLf()
    {
        addCard(1);
        m_db->execute(QStringLiteral("UPDATE topny_zdroj SET poznamka = ?"), {QStringLiteral("a\r\nb")});
        DataSet ds(*m_db, QStringLiteral("Karty"));
        ds.setTableName(QStringLiteral("topny_zdroj"));
        DataSource source(&ds, QStringLiteral("dsKarty"));
        DBMemo memo(nullptr, QStringLiteral("mPoznamka"));
        memo.bind(&source, QStringLiteral("poznamka"));
        ds.open();
        QCOMPARE(memo.toPlainText(), QStringLiteral("a\nb"));
        memo.moveCursor(QTextCursor::End);
        QTest::keyClick(&memo, Qt::Key_Return);
        typeText(&memo, QStringLiteral("č"));
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.value(QStringLiteral("poznamka")).toString(), QStringLiteral("a\r\nb\r\nč"));
    }

    void checkBoxIsGreyedForNullAndAClickTicks()
    {
        addCustomer(*m_db, QStringLiteral("A"));
        addCustomer(*m_db, QStringLiteral("B"), QVariant(), true);
        addCustomer(*m_db, QStringLiteral("C"), QVariant(), false);
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        DataSource source(&ds, QStringLiteral("dsZakaznici"));
        QWidget window;
        auto* box = new DBCheckBox(QStringLiteral("Firma"), &window, QStringLiteral("chFirma"));
        box->bind(&source, QStringLiteral("je_firma"));
        ds.open();
        showWindow(window);
        box->adjustSize();
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QVERIFY(ds.next());
        QCOMPARE(box->checkState(), Qt::Checked);
        QVERIFY(ds.next());
        QCOMPARE(box->checkState(), Qt::Unchecked);

        QVERIFY(ds.first());
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked);
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.value(QStringLiteral("je_firma")), QVariant(true));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QVERIFY(ds.post());
        QCOMPARE(storedText(QStringLiteral("SELECT je_firma FROM cis_zakaznici WHERE id = 1")),
                 QStringLiteral("0"));
    }

    void lookupShowsTheListRowOfTheKeyAndWritesTheChosenKey()
    {
        for (const char* name : {"Kotle", "Kamna", "Krby"})
            m_db->execute(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES (?, 12)"),
                          {QString::fromUtf8(name)});
        addCard(2);
        addCard(99);
        DataSet list(*m_db, QStringLiteral("Kategorie"));
        list.setTableName(QStringLiteral("cis_kategorie"));
        list.open();
        DataSet ds(*m_db, QStringLiteral("Karty"));
        ds.setTableName(QStringLiteral("topny_zdroj"));
        DataSource source(&ds, QStringLiteral("dsKarty"));
        QWidget window;
        auto* combo = new DBLookupCombo(&window, QStringLiteral("cbKategorie"));
        combo->bind(&source, QStringLiteral("kategorie"));
        combo->setListSource(&list, QStringLiteral("id"), QStringLiteral("NAZEV_KATEGORIE"));
        QSignalSpy chosen(combo, &DBLookupCombo::userChose);
        ds.open();
        showWindow(window);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentText(), QStringLiteral("Kamna"));
        QVERIFY(ds.next());
        QCOMPARE(combo->currentText(), QString());

        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.value(QStringLiteral("kategorie")), QVariant(qint64(1)));
        QCOMPARE(combo->currentText(), QStringLiteral("Kotle"));
        QTest::keyClick(combo, Qt::Key_End);
        QCOMPARE(ds.value(QStringLiteral("kategorie")), QVariant(qint64(3)));
        QVERIFY(ds.first());
        QCOMPARE(storedText(QStringLiteral("SELECT kategorie FROM topny_zdroj WHERE id = 2")),
                 QStringLiteral("3"));
        QCOMPARE(combo->currentText(), QStringLiteral("Kamna"));
    }

    void comboListWithAnEmptyItemClearsTheField()
    {
        addCustomer(*m_db, QStringLiteral("A"), QStringLiteral("Brno"));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        DataSource source(&ds, QStringLiteral("dsZakaznici"));
        QWidget window;
        auto* combo = new DBComboList(&window, QStringLiteral("cbMesto"));
        combo->addItems({QString(), QStringLiteral("Brno"), QStringLiteral("Praha")});
        combo->bind(&source, QStringLiteral("mesto"));
        QSignalSpy chosen(combo, &DBComboList::userChose);
        ds.open();
        showWindow(window);
        QCOMPARE(combo->currentIndex(), 1);

        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(ds.value(QStringLiteral("mesto")).toString(), QStringLiteral("Praha"));
        QTest::keyClick(combo, Qt::Key_Home);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QVERIFY(ds.isNull(QStringLiteral("mesto")));
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(ds.post());
        QCOMPARE(storedText(QStringLiteral("SELECT coalesce(mesto, 'NULL') FROM cis_zakaznici")),
                 QStringLiteral("NULL"));
    }

    void gridSelectionFollowsTheSet()
    {
        for (const char* name : {"A", "B", "C", "D"})
            addCustomer(*m_db, QString::fromLatin1(name));
        GridWindow w(*m_db);
        w.ds.open();
        showWindow(w.window);
        QCOMPARE(w.grid->currentIndex().row(), 0);
        QVERIFY(w.ds.last());
        QCOMPARE(w.grid->currentIndex().row(), 3);
        QCOMPARE(w.selectedRows(), QList<int>{3});
        QVERIFY(w.ds.moveTo(2));
        QCOMPARE(w.selectedRows(), QList<int>{1});

        w.ds.deleteRecord(); // the following row becomes current, also in the grid
        QCOMPARE(w.ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("C"));
        QCOMPARE(w.grid->currentIndex().row(), 1);
        QCOMPARE(w.selectedRows(), QList<int>{1});

        QVERIFY(w.ds.append());
        QCOMPARE(w.grid->currentIndex().row(), 3);
        w.ds.cancel(); // back to the row before, also in the grid
        QCOMPARE(w.ds.recNo(), 2);
        QCOMPARE(w.grid->currentIndex().row(), 1);
        QCOMPARE(w.selectedRows(), QList<int>{1});
    }

    void gridClickMovesTheSetUnlessRefused()
    {
        for (const char* name : {"A", "B", "C", "D"})
            addCustomer(*m_db, QString::fromLatin1(name));
        GridWindow w(*m_db);
        bool accept = false;
        w.ds.setBeforePost([&] { return accept; });
        w.ds.open();
        showWindow(w.window);
        w.click(2);
        QCOMPARE(w.ds.recNo(), 3);
        QCOMPARE(w.selectedRows(), QList<int>{2});

        QVERIFY(w.ds.edit());
        w.ds.setValue(QStringLiteral("nazev"), QStringLiteral("Změna"));
        QCOMPARE(w.grid->model()->index(2, 0).data().toString(), QStringLiteral("Změna"));
        w.click(0);
        QCOMPARE(w.ds.recNo(), 3);
        QCOMPARE(w.ds.state(), DataSet::State::Edit);
        QCoreApplication::processEvents();
        QCOMPARE(w.grid->currentIndex().row(), 2);
        QCOMPARE(w.selectedRows(), QList<int>{2});

        accept = true;
        w.click(1);
        QCOMPARE(w.ds.recNo(), 2);
        QCOMPARE(w.ds.state(), DataSet::State::Browse);
        QCOMPARE(storedText(QStringLiteral("SELECT nazev FROM cis_zakaznici WHERE id = 3")),
                 QStringLiteral("Změna"));
    }

    void longWorkShowsProgressOnlyWhenItLasts()
    {
        const auto progress = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
                    return p;
            return static_cast<QProgressDialog*>(nullptr);
        };
        const auto lastAWhile = [] { QThread::msleep(LongWork::progressAfterMs + 20); };
        {
            LongWork work(QStringLiteral("Import zákazníků"));
            work.step();
            QVERIFY(!progress());
            lastAWhile();
            work.step();
            QVERIFY(progress());
            QCOMPARE(progress()->windowTitle(), QStringLiteral("Import zákazníků"));
            QCOMPARE(progress()->labelText(), QStringLiteral("Import zákazníků…\nZáznamů: 2"));
            QCOMPARE(progress()->windowModality(), Qt::ApplicationModal);
            lastAWhile();
            work.step(40);
            QCOMPARE(progress()->labelText(), QStringLiteral("Import zákazníků…\nZáznamů: 42"));
        }
        QVERIFY(!progress());
        {
            LongWork untitled; // a loop that names nothing shows only the busy cursor
            lastAWhile();
            untitled.step();
            QVERIFY(!progress());
        }
    }

    void modelPassesTheModelTester()
    {
        for (const char* name : {"A", "B", "C", "D"})
            addCustomer(*m_db, QString::fromLatin1(name), QStringLiteral("Brno"));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        DataSetModel model;
        model.setColumns({{QStringLiteral("NAZEV"), QStringLiteral("Název")},
                          {QStringLiteral("mesto"), QStringLiteral("Město")}});
        model.setDataSet(&ds);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto cell = [&](int row, int column) { return model.index(row, column).data().toString(); };

        ds.open();
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(cell(1, 0), QStringLiteral("B"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Město"));
        QVERIFY(ds.append());
        QCOMPARE(model.rowCount(), 5);
        ds.setValue(QStringLiteral("nazev"), QStringLiteral("E"));
        QCOMPARE(cell(4, 0), QStringLiteral("E"));
        QVERIFY(ds.post());
        QCOMPARE(model.rowCount(), 5);
        QVERIFY(ds.append());
        ds.cancel();
        QCOMPARE(model.rowCount(), 5);
        QVERIFY(ds.moveTo(2));
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("mesto"), QStringLiteral("Zlín"));
        QCOMPARE(cell(1, 1), QStringLiteral("Zlín"));
        ds.cancel();
        QCOMPARE(cell(1, 1), QStringLiteral("Brno"));
        ds.deleteRecord(); // a row in the middle
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(cell(1, 0), QStringLiteral("C"));
        QVERIFY(ds.last());
        ds.deleteRecord();
        QCOMPARE(cell(2, 0), QStringLiteral("D"));
        ds.close();
        QCOMPARE(model.rowCount(), 0);
    }
};

VESTIBOR_TEST_MAIN(TestDataWidgets)
#include "tst_datawidgets.moc"
