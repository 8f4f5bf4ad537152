// Data sets over the database and the conversions of field values, without widgets.
#include "helpers/ConversionError.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/DatabaseError.h"
#include "store/GuardedUpdate.h"
#include "store/Transaction.h"
#include "support/ProgramDir.h"
#include "support/SeedData.h"
#include "support/TestMain.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QTest>
#include <ctime>

class TestDataSet : public QObject
{
    Q_OBJECT

    TestDatabase* m_database = nullptr;
    Connection* m_db = nullptr;

    // Customers Z01, Z02 and on.
    void addNumberedCustomers(int count)
    {
        for (int i = 1; i <= count; ++i)
            addCustomer(*m_db, QStringLiteral("Z%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    QStringList stored(const QString& sql) const
    {
        QStringList out;
        for (const auto& row : m_db->query(sql).rows)
            out << row[0].toString();
        return out;
    }
    QStringList customerNames() const
    {
        return stored(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY id"));
    }

private slots:
    void init()
    {
        m_database = new TestDatabase;
        QVERIFY2(m_database->error().isEmpty(), qPrintable(m_database->error()));
        m_db = new Connection(QStringLiteral("test"));
        m_database->open(*m_db);
    }
    void cleanup()
    {
        delete m_db;
        delete m_database;
    }

    void statesAndCursor()
    {
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        QCOMPARE(ds.state(), DataSet::State::Closed);
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        ds.open();
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QCOMPARE(ds.recNo(), 0);
        QCOMPARE(ds.recordCount(), 0);
        QVERIFY(ds.next() && ds.prior() && ds.last());
        QCOMPARE(ds.recNo(), 0);

        addNumberedCustomers(12);
        ds.open();
        QCOMPARE(ds.recordCount(), 12);
        QCOMPARE(ds.recNo(), 1);
        QVERIFY(ds.prior());
        QCOMPARE(ds.recNo(), 1);
        QVERIFY(ds.next());
        QCOMPARE(ds.value(QStringLiteral("NAZEV")).toString(), QStringLiteral("Z02"));
        QVERIFY(ds.last());
        QVERIFY(ds.next());
        QCOMPARE(ds.recNo(), 12);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Z12"));
        QVERIFY(ds.moveTo(5));

        QVERIFY(ds.append());
        QCOMPARE(ds.state(), DataSet::State::Insert);
        QCOMPARE(ds.recNo(), 0);
        QCOMPARE(ds.recordCount(), 12);
        QCOMPARE(ds.rowCount(), 13);
        QCOMPARE(ds.currentRow(), 12);
        QVERIFY(ds.isNull(QStringLiteral("nazev")));
        ds.cancel();
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QCOMPARE(ds.recNo(), 5);
        QCOMPARE(ds.rowCount(), 12);

        QVERIFY(ds.edit());
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.recNo(), 5);
        ds.close();
        QCOMPARE(ds.state(), DataSet::State::Closed);
        QCOMPARE(ds.recordCount(), 0);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.next());
    }

    void postWritesTheOneRowBackByItsId()
    {
        addCustomer(*m_db, QStringLiteral("Adam"), QStringLiteral("Brno"));
        addCustomer(*m_db, QStringLiteral("Bartoš"), QStringLiteral("Praha"));
        addCustomer(*m_db, QStringLiteral("Cibulka"), QStringLiteral("Brno"));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici WHERE mesto = ? ORDER BY nazev DESC"),
                          {QStringLiteral("Brno")});
        ds.open();
        QVERIFY(!ds.isReadOnly());
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Cibulka"));
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("Nazev"), QStringLiteral("Čermák"));
        QVERIFY(ds.isModified());
        QVERIFY(ds.post());
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QVERIFY(!ds.isModified());
        QCOMPARE(customerNames(), (QStringList{"Adam", "Bartoš", "Čermák"}));

        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("nazev"), QStringLiteral("Dvořák"));
        QVERIFY(ds.post());
        const qint64 id = ds.value(QStringLiteral("id")).toLongLong();
        QCOMPARE(id, 4);
        QCOMPARE(ds.recordCount(), 3);
        // the new row is known by its id at once: a second change goes to the same row
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("mesto"), QStringLiteral("Zlín"));
        QVERIFY(ds.post());
        QCOMPARE(stored(QStringLiteral("SELECT nazev || '/' || mesto FROM cis_zakaznici WHERE id = 4")),
                 QStringList{"Dvořák/Zlín"});
        QCOMPARE(customerNames().size(), 4);

        DataSet empty(*m_db, QStringLiteral("Kategorie"));
        empty.setTableName(QStringLiteral("cis_kategorie"));
        empty.open();
        QVERIFY(empty.edit());
        QCOMPARE(empty.state(), DataSet::State::Insert);
        QCOMPARE(empty.recordCount(), 0);
    }

    void aTableWithoutKeyColumnIsWrittenByRowId()
    {
        for (const char* name : {"Novák", "Novák", "Svoboda"})
            m_db->execute(QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (1, ?)"),
                          {QString::fromUtf8(name)});
        const QString all = QStringLiteral("SELECT jmeno_technika FROM cis_technici ORDER BY rowid");
        DataSet ds(*m_db, QStringLiteral("Technici"));
        ds.setTableName(QStringLiteral("cis_technici"));
        ds.open();
        QVERIFY(ds.moveTo(2));
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("jmeno_technika"), QStringLiteral("Dvořák"));
        QVERIFY(ds.post());
        QCOMPARE(stored(all), (QStringList{"Novák", "Dvořák", "Svoboda"}));

        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("cislo"), 4);
        ds.setValue(QStringLiteral("jmeno_technika"), QStringLiteral("Malý"));
        QVERIFY(ds.post());
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("jmeno_technika"), QStringLiteral("Velký"));
        QVERIFY(ds.post());
        QCOMPARE(stored(all), (QStringList{"Novák", "Dvořák", "Svoboda", "Velký"}));

        QVERIFY(ds.first());
        ds.deleteRecord();
        QCOMPARE(stored(all), (QStringList{"Dvořák", "Svoboda", "Velký"}));
    }

    void deleteMakesTheFollowingRowCurrent()
    {
        for (const char* name : {"A", "B", "C"})
            addCustomer(*m_db, QString::fromLatin1(name));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        ds.open();
        QVERIFY(ds.moveTo(2));
        ds.deleteRecord();
        QCOMPARE(ds.recNo(), 2);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("C"));
        ds.deleteRecord();
        QCOMPARE(ds.recNo(), 1);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("A"));
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("nazev"), QStringLiteral("neuloženo"));
        ds.deleteRecord();
        QVERIFY(ds.isEmpty());
        QCOMPARE(ds.recNo(), 0);
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QVERIFY(customerNames().isEmpty());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.deleteRecord());
    }

    void movingPostsAChangedRowAndCancelsAnUntouchedOne()
    {
        addNumberedCustomers(3);
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        ds.setOnNewRecord([&] { ds.setValue(QStringLiteral("mesto"), QStringLiteral("Brno")); });
        bool accept = false;
        int asked = 0;
        ds.setBeforePost([&] {
            ++asked;
            return accept;
        });
        ds.open();

        QVERIFY(ds.append());
        QCOMPARE(ds.value(QStringLiteral("mesto")).toString(), QStringLiteral("Brno"));
        QVERIFY(!ds.isModified());
        QVERIFY(ds.next());
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QCOMPARE(ds.recNo(), 2);
        QCOMPARE(ds.recordCount(), 3);
        QCOMPARE(asked, 0);

        QVERIFY(ds.edit());
        QVERIFY(ds.next());
        QCOMPARE(ds.recNo(), 3);
        QCOMPARE(asked, 0);

        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("nazev"), QStringLiteral("Změna"));
        QVERIFY(!ds.first());
        QVERIFY(!ds.post());
        QVERIFY(!ds.append());
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.recNo(), 3);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Změna"));
        QCOMPARE(customerNames(), (QStringList{"Z01", "Z02", "Z03"}));

        accept = true;
        QVERIFY(ds.first());
        QCOMPARE(ds.recNo(), 1);
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QCOMPARE(customerNames(), (QStringList{"Z01", "Z02", "Změna"}));

        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("nazev"), QStringLiteral("Nový"));
        QVERIFY(ds.first());
        QCOMPARE(ds.recordCount(), 4);
        QCOMPARE(stored(QStringLiteral("SELECT mesto FROM cis_zakaznici WHERE id = 4")), QStringList{"Brno"});
    }

    void signalsOfStateAndData()
    {
        addNumberedCustomers(2);
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        ds.setOnNewRecord([&] { ds.setValue(QStringLiteral("mesto"), QStringLiteral("Brno")); });
        DataSource source(&ds, QStringLiteral("dsZakaznici"));
        QStringList log;
        QStringList all;
        QStringList sourceLog;
        connect(&ds, &DataSet::stateChanged, this, [&] { log << QStringLiteral("state"); });
        connect(&ds, &DataSet::dataChanged, this,
                [&](const QString& f) { log << QStringLiteral("data:") + f; });
        connect(&source, &DataSource::stateChanged, this, [&] { sourceLog << QStringLiteral("state"); });
        connect(&source, &DataSource::dataChanged, this,
                [&](const QString& f) { sourceLog << QStringLiteral("data:") + f; });
        const auto take = [&] {
            const QStringList out = log;
            all += log;
            log.clear();
            return out;
        };
        const QStringList stateAndRecord{"state", "data:"};

        ds.open();
        QCOMPARE(take(), stateAndRecord);
        QVERIFY(ds.edit());
        QCOMPARE(take(), stateAndRecord);
        ds.setValue(QStringLiteral("NAZEV"), QStringLiteral("X"));
        QCOMPARE(take(), QStringList{"data:nazev"});
        QVERIFY(ds.post());
        QCOMPARE(take(), stateAndRecord);
        QVERIFY(ds.next());
        QCOMPARE(take(), QStringList{"data:"});
        QVERIFY(ds.append()); // its defaults are not announced one by one
        QCOMPARE(take(), stateAndRecord);
        ds.cancel();
        QCOMPARE(take(), stateAndRecord);
        ds.deleteRecord();
        QCOMPARE(take(), QStringList{"data:"});

        ds.disableControls();
        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("nazev"), QStringLiteral("Y"));
        QVERIFY(ds.post());
        QVERIFY(ds.first());
        QVERIFY(ds.edit());
        QVERIFY(take().isEmpty());
        ds.enableControls();
        QCOMPARE(take(), stateAndRecord);

        ds.close();
        QCOMPARE(take(), QStringList{"state"});

        // Reading other rows into an open data set (the next card's activities) resets the
        // views once and, its state being the same, announces only the data.
        ds.open();
        take();
        int resets = 0;
        connect(&ds, &DataSet::rowsReset, this, [&] { ++resets; });
        ds.disableControls();
        ds.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici WHERE nazev = ?"),
                          {QStringLiteral("Y")});
        ds.open();
        ds.enableControls();
        QCOMPARE(take(), QStringList{"data:"});
        QCOMPARE(resets, 1);
        QCOMPARE(ds.recordCount(), 1);
        // A read that fails leaves the data set closed, not showing the rows read before.
        ds.setCommandText(QStringLiteral("SELECT * FROM zadna_tabulka"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.open());
        QVERIFY(!ds.isOpen());
        QCOMPARE(take(), QStringList{"state"});
        QCOMPARE(sourceLog, all);
    }

    void locateMovesToTheFirstExactMatch()
    {
        for (const char* town : {"Brno", "Praha", "brno", "Brno"})
            addCustomer(*m_db, QStringLiteral("Z"), QString::fromLatin1(town));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        ds.open();
        QVERIFY(ds.last());
        QVERIFY(ds.locate(QStringLiteral("MESTO"), QStringLiteral("Brno")));
        QCOMPARE(ds.recNo(), 1);
        QVERIFY(ds.locate(QStringLiteral("Mesto"), QStringLiteral("brno")));
        QCOMPARE(ds.recNo(), 3);
        QVERIFY(!ds.locate(QStringLiteral("mesto"), QStringLiteral("Ostrava")));
        QCOMPARE(ds.recNo(), 3);
        QVERIFY(ds.locate(QStringLiteral("ID"), 2));
        QCOMPARE(ds.value(QStringLiteral("mesto")).toString(), QStringLiteral("Praha"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.locate(QStringLiteral("obec"), QStringLiteral("Brno")));
    }

    // Reading the rows again keeps the record the user is on, not its number: another program
    // added a row that sorts before it. When the record itself is gone, the place stays.
    void refreshKeepsTheCurrentRecord()
    {
        for (const char* name : {"Dvořák", "Novák", "Svoboda"})
            addCustomer(*m_db, QString::fromUtf8(name));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY nazev"));
        ds.open();
        QVERIFY(ds.locate(QStringLiteral("nazev"), QStringLiteral("Novák")));
        QCOMPARE(ds.recNo(), 2);
        Connection other(QStringLiteral("other"));
        m_database->open(other);
        other.execute(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Adámek')"));
        ds.refresh();
        QCOMPARE(ds.recordCount(), 4);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Novák"));
        QCOMPARE(ds.recNo(), 3);

        other.execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE nazev = 'Novák'"));
        ds.refresh();
        QCOMPARE(ds.recNo(), 3);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Svoboda"));
    }
    void aDatabaseRefusalKeepsTheRowBeingEdited()
    {
        addCustomer(*m_db, QStringLiteral("Původní"));
        DataSet ds(*m_db, QStringLiteral("Zakaznici"));
        ds.setTableName(QStringLiteral("cis_zakaznici"));
        ds.open();
        const QString tooLong(101, u'ř');

        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("nazev"), tooLong);
        ds.setValue(QStringLiteral("mesto"), QStringLiteral("Brno"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.post());
        QCOMPARE(ds.state(), DataSet::State::Insert);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), tooLong);
        QCOMPARE(ds.value(QStringLiteral("mesto")).toString(), QStringLiteral("Brno"));
        QCOMPARE(ds.recordCount(), 1);
        QCOMPARE(customerNames(), QStringList{"Původní"});
        ds.setValue(QStringLiteral("nazev"), tooLong.left(100));
        QVERIFY(ds.post());
        QCOMPARE(customerNames().size(), 2);

        QVERIFY(ds.first());
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("nazev"), tooLong);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.next());
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.recNo(), 1);
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), tooLong);
        ds.cancel();
        QCOMPARE(ds.value(QStringLiteral("nazev")).toString(), QStringLiteral("Původní"));
        QCOMPARE(customerNames().first(), QStringLiteral("Původní"));

        // The row was deleted by another hand while it was being edited: the save says so
        // and the edit is still there to decide about.
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("mesto"), QStringLiteral("Praha"));
        m_db->execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE nazev = 'Původní'"));
        try {
            ds.post();
            QFAIL("the save of a deleted row went through");
        } catch (const DatabaseError& e) {
            QCOMPARE(
                e.text(),
                QStringLiteral(
                    "Záznam mezitím smazal jiný uživatel, změny nelze uložit. Zrušte je tlačítkem Storno."));
        }
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QCOMPARE(ds.value(QStringLiteral("mesto")).toString(), QStringLiteral("Praha"));
        QCOMPARE(customerNames().size(), 1);
    }

    void aSaveNeverOverwritesWhatAnotherProgramSaved()
    {
        addCustomer(*m_db, QStringLiteral("Novák"), QStringLiteral("Brno"));
        addCustomer(*m_db, QStringLiteral("Dvořák"));
        Connection other(QStringLiteral("other"));
        m_database->open(other);
        DataSet mine(*m_db, QStringLiteral("Mine"));
        DataSet theirs(other, QStringLiteral("Theirs"));
        for (DataSet* ds : {&mine, &theirs}) {
            ds->setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY id"));
            ds->open();
        }
        // They save the name; my save of the town is refused and I see their name.
        QVERIFY(theirs.edit());
        theirs.setValue(QStringLiteral("nazev"), QStringLiteral("Novák a syn"));
        QVERIFY(theirs.post());
        QVERIFY(mine.edit());
        mine.setValue(QStringLiteral("mesto"), QStringLiteral("Praha"));
        try {
            mine.post();
            QFAIL("a save over another program's change went through");
        } catch (const DatabaseError& e) {
            QVERIFY(e.text().startsWith(QStringLiteral("Záznam mezitím změnil jiný uživatel.")));
        }
        QCOMPARE(mine.state(), DataSet::State::Browse);
        QCOMPARE(mine.value(QStringLiteral("nazev")).toString(), QStringLiteral("Novák a syn"));
        QCOMPARE(mine.value(QStringLiteral("mesto")).toString(), QStringLiteral("Brno"));
        QCOMPARE(stored(QStringLiteral("SELECT mesto FROM cis_zakaznici WHERE id = 1")), QStringList{"Brno"});
        // Having seen it, I save again.
        QVERIFY(mine.edit());
        mine.setValue(QStringLiteral("mesto"), QStringLiteral("Praha"));
        QVERIFY(mine.post());
        QCOMPARE(stored(QStringLiteral("SELECT nazev || ' ' || mesto FROM cis_zakaznici WHERE id = 1")),
                 QStringList{"Novák a syn Praha"});

        // They delete the second customer; my delete of it says so and the row leaves my list.
        QVERIFY(theirs.last());
        theirs.deleteRecord();
        QVERIFY(mine.last());
        try {
            mine.deleteRecord();
            QFAIL("a delete of a row that was gone went by silently");
        } catch (const DatabaseError& e) {
            QCOMPARE(e.text(), QStringLiteral("Záznam mezitím smazal jiný uživatel."));
        }
        QCOMPARE(mine.recordCount(), 1);
    }

    // A time (UTC, whole seconds) reads back as it was written, so that a row holding one can
    // be saved again without being taken for another user's change.
    void aTimeReadsBackAsWrittenAndItsRowSavesAgain()
    {
        // in the firm's zone, which is not UTC
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Prague");
        tzset();
        const auto restoreZone = qScopeGuard([&] {
            zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
            tzset();
        });
        const QDateTime at(QDate(2024, 2, 29), QTime(23, 59, 58), Qt::UTC);
        DataSet ds(*m_db, QStringLiteral("Audit"));
        ds.setCommandText(QStringLiteral("SELECT * FROM web_audit"));
        ds.open();
        QCOMPARE(ds.field(QStringLiteral("cas")).kind, ColumnKind::DateTime);
        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("cas"), at);
        ds.setValue(QStringLiteral("udalost"), QStringLiteral("zapis"));
        QVERIFY(ds.post());
        ds.open();
        QCOMPARE(ds.value(QStringLiteral("cas")).toDateTime(), at);
        QCOMPARE(ds.text(QStringLiteral("cas")), QStringLiteral("29.2.2024 23:59:58"));
        QVERIFY(ds.edit());
        ds.setValue(QStringLiteral("udalost"), QStringLiteral("oprava"));
        QVERIFY(ds.post());
        QCOMPARE(stored(QStringLiteral("SELECT udalost FROM web_audit")), QStringList{"oprava"});
    }

    // The rule the data sets and the web app share, called straight: only the changed columns
    // are written, a row changed meanwhile comes back as stored now and is left alone, and in
    // the caller's transaction the write is undone with it.
    void aGuardedUpdateWritesOnlyARowStillAsRead()
    {
        addCustomer(*m_db, QStringLiteral("Novák"), QStringLiteral("Brno"));
        QList<ColumnInfo> columns;
        for (const ColumnInfo& column : m_db->tableColumns(QStringLiteral("cis_zakaznici")))
            if (column.name == u"nazev" || column.name == u"mesto")
                columns << column;
        const GuardedRow row{QStringLiteral("cis_zakaznici"), QStringLiteral("id"), columns};
        const QString stored = QStringLiteral("SELECT nazev || ' ' || mesto FROM cis_zakaznici");
        const QList<QVariant> asRead{QStringLiteral("Novák"), QStringLiteral("Brno")};

        GuardedUpdateResult result = updateIfUnchanged(*m_db, row, 1, asRead, {{1, QStringLiteral("Praha")}});
        QCOMPARE(result.outcome, GuardedUpdateResult::Outcome::Written);
        QCOMPARE(this->stored(stored), QStringList{"Novák Praha"});

        result = updateIfUnchanged(*m_db, row, 1, asRead, {{0, QStringLiteral("Dvořák")}});
        QCOMPARE(result.outcome, GuardedUpdateResult::Outcome::ChangedMeanwhile);
        QCOMPARE(result.current, (QList<QVariant>{QStringLiteral("Novák"), QStringLiteral("Praha")}));
        QCOMPARE(this->stored(stored), QStringList{"Novák Praha"});

        QCOMPARE(updateIfUnchanged(*m_db, row, 2, asRead, {{0, QStringLiteral("Dvořák")}}).outcome,
                 GuardedUpdateResult::Outcome::DeletedMeanwhile);
        {
            Transaction callers(*m_db);
            QCOMPARE(
                updateIfUnchanged(*m_db, row, 1, result.current, {{0, QStringLiteral("Dvořák")}}).outcome,
                GuardedUpdateResult::Outcome::Written);
            QCOMPARE(this->stored(stored), QStringList{"Dvořák Praha"});
        }
        QCOMPARE(this->stored(stored), QStringList{"Novák Praha"});
        QCOMPARE(changedMeanwhileMessage(),
                 QStringLiteral("Záznam mezitím změnil jiný uživatel. Vaše změny nebyly uloženy a záznam je "
                                "načten znovu; prohlédněte si ho a změny případně proveďte znovu."));
    }

    void aJoinIsReadOnly()
    {
        addCustomer(*m_db, QStringLiteral("Novák"));
        m_db->execute(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (1, 'K', 'T', 1)"));
        DataSet ds(*m_db, QStringLiteral("Prehled"));
        ds.setCommandText(
            QStringLiteral("SELECT * FROM cis_zakaznici JOIN topny_zdroj ON topny_zdroj.id_zakaznika = "
                           "cis_zakaznici.id"));
        ds.open();
        QVERIFY(ds.isReadOnly());
        QCOMPARE(ds.recordCount(), 1);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.edit());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.append());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ds.deleteRecord());
        QCOMPARE(ds.state(), DataSet::State::Browse);
        QCOMPARE(stored(QStringLiteral("SELECT count(*) FROM topny_zdroj")), QStringList{"1"});
    }

    // Every statement that reaches the database counts, each row of a batch as one, and on
    // the server also the first preparation of a statement with values (a trip of its own).
    void everyStatementIsCounted()
    {
        const qint64 before = m_db->statementCount();
        const auto counted = [&] { return m_db->statementCount() - before; };
        m_db->query(QStringLiteral("SELECT count(*) FROM cis_zakaznici"));
        QCOMPARE(counted(), 1);
        const QString insert = QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES (?)");
        const int preparation = m_db->isServer() ? 1 : 0;
        m_db->executeMany(insert, {{QStringLiteral("A")}, {QStringLiteral("B")}, {QStringLiteral("C")}});
        QCOMPARE(counted(), 1 + preparation + 3);
        m_db->execute(insert, {QStringLiteral("D")});
        QCOMPARE(counted(), 1 + preparation + 4);

        Connection closed(QStringLiteral("closed"));
        QCOMPARE(closed.statementCount(), 0);
    }

    void fieldTexts()
    {
        using namespace FieldValues;
        QCOMPARE(text(ColumnKind::Date, QDate(2024, 3, 5)), QStringLiteral("5.3.2024"));
        QCOMPARE(text(ColumnKind::DateTime, QDateTime(QDate(2024, 3, 5), QTime(14, 30))),
                 QStringLiteral("5.3.2024 14:30:00"));
        QCOMPARE(text(ColumnKind::DateTime, QDateTime(QDate(2024, 12, 31), QTime(0, 0))),
                 QStringLiteral("31.12.2024"));
        QCOMPARE(text(ColumnKind::Money, qint64(15000000)), QStringLiteral("1500"));
        QCOMPARE(text(ColumnKind::Money, qint64(15005000)), QStringLiteral("1500,5"));
        QCOMPARE(text(ColumnKind::Money, qint64(-2500)), QStringLiteral("-0,25"));
        QCOMPARE(text(ColumnKind::Money, qint64(1)), QStringLiteral("0,0001"));
        QCOMPARE(text(ColumnKind::Date, QDate(999, 1, 2)), QStringLiteral("2.1.0999"));
        // A stored date, with a time after it or without; what is no date stays as stored.
        QCOMPARE(fromStorage(ColumnKind::Date, QStringLiteral("2024-03-05")), QVariant(QDate(2024, 3, 5)));
        QCOMPARE(fromStorage(ColumnKind::Date, QStringLiteral("2024-12-31 14:30:00")),
                 QVariant(QDate(2024, 12, 31)));
        for (const QString& noDate :
             {QStringLiteral("2024-02-30"), QStringLiteral("2024-0a-05"), QStringLiteral("x")})
            QCOMPARE(fromStorage(ColumnKind::Date, noDate), QVariant(noDate));
        QCOMPARE(text(ColumnKind::YesNo, true), QStringLiteral("True"));
        QCOMPARE(text(ColumnKind::YesNo, false), QStringLiteral("False"));
        for (ColumnKind kind : {ColumnKind::AutoKey, ColumnKind::Integer, ColumnKind::Year, ColumnKind::Float,
                                ColumnKind::Money, ColumnKind::Date, ColumnKind::DateTime, ColumnKind::YesNo,
                                ColumnKind::Text, ColumnKind::LongText})
            QCOMPARE(text(kind, QVariant()), QString());

        QCOMPARE(parse(ColumnKind::Money, QStringLiteral("12,5")), QVariant(qint64(125000)));
        QCOMPARE(parse(ColumnKind::Money, QStringLiteral("12.5")), QVariant(qint64(125000)));
        QCOMPARE(parse(ColumnKind::Money, QStringLiteral("-0,25")), QVariant(qint64(-2500)));
        QCOMPARE(parse(ColumnKind::Date, QStringLiteral("5.3.2024")), QVariant(QDate(2024, 3, 5)));
        QCOMPARE(parse(ColumnKind::DateTime, QStringLiteral("5.3.2024 14:30:00")),
                 QVariant(QDateTime(QDate(2024, 3, 5), QTime(14, 30), Qt::UTC)));
        QVERIFY(parse(ColumnKind::Date, QStringLiteral("  ")).isNull());
        QVERIFY_THROWS_EXCEPTION(ConversionError, parse(ColumnKind::Date, QStringLiteral("31.2.2024")));
        QVERIFY_THROWS_EXCEPTION(ConversionError, parse(ColumnKind::Date, QStringLiteral("5.3.")));
        // A typed date has all four digits of its year: "24" is no year 24, nor a guess at 2024.
        QVERIFY_THROWS_EXCEPTION(ConversionError, parse(ColumnKind::Date, QStringLiteral("5.3.24")));
        QVERIFY_THROWS_EXCEPTION(ConversionError, parse(ColumnKind::Date, QStringLiteral("5.3.024")));
        QVERIFY_THROWS_EXCEPTION(ConversionError, parse(ColumnKind::Money, QStringLiteral("12 Kč")));
        QVERIFY_THROWS_EXCEPTION(ConversionError, parse(ColumnKind::Integer, QStringLiteral("1a")));
    }

    void datesAreStoredAsIsoText()
    {
        DataSet ds(*m_db, QStringLiteral("Cinnosti"));
        ds.setTableName(QStringLiteral("cinnosti"));
        ds.open();
        for (const QDate& d : {QDate(2024, 3, 5), QDate(2023, 12, 10), QDate(2025, 1, 1)}) {
            QVERIFY(ds.append());
            ds.setValue(QStringLiteral("cinnost"), 1);
            ds.setValue(QStringLiteral("datum"), d);
            QVERIFY(ds.post());
        }
        // The file keeps them as text, the server as dates; both read back the same.
        QCOMPARE(stored(currentTestEngine() == TestEngine::File
                            ? QStringLiteral("SELECT datum || ' ' || typeof(datum) FROM cinnosti ORDER BY id")
                            : QStringLiteral(
                                  "SELECT CAST(datum AS VARCHAR(10)) || ' text' FROM cinnosti ORDER BY id")),
                 (QStringList{"2024-03-05 text", "2023-12-10 text", "2025-01-01 text"}));
        QCOMPARE(stored(QStringLiteral("SELECT id FROM cinnosti ORDER BY datum")),
                 (QStringList{"2", "1", "3"}));
        ds.open();
        QCOMPARE(ds.value(QStringLiteral("datum")), QVariant(QDate(2024, 3, 5)));
        QCOMPARE(ds.text(QStringLiteral("datum")), QStringLiteral("5.3.2024"));
        QVERIFY(ds.isNull(QStringLiteral("datum_pristi")));
    }

    void moneyKeepsFourDecimalsExactly_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("mayBeRefused");
        QTest::newRow("cents") << QStringLiteral("1500,5") << false;
        QTest::newRow("negative") << QStringLiteral("-0,25") << false;
        QTest::newRow("smallest") << QStringLiteral("0,0001") << false;
        QTest::newRow("ordinary") << QStringLiteral("12345678,9999") << false;
        QTest::newRow("eleven digits") << QStringLiteral("99999999999,9999") << false;
        // an amount this large may be refused as typed, but not stored other than typed
        QTest::newRow("thirteen digits") << QStringLiteral("9999999999999,9999") << true;
    }
    void moneyKeepsFourDecimalsExactly()
    {
        QFETCH(QString, typed);
        QFETCH(bool, mayBeRefused);
        qint64 amount = 0;
        const bool accepted = FieldValues::parseMoney(typed, &amount);
        QVERIFY(accepted || mayBeRefused);
        if (!accepted)
            return;
        const qint64 tenth = FieldValues::parse(ColumnKind::Money, QStringLiteral("0,1")).toLongLong();
        const qint64 fifth = FieldValues::parse(ColumnKind::Money, QStringLiteral("0,2")).toLongLong();
        DataSet ds(*m_db, QStringLiteral("Cinnosti"));
        ds.setTableName(QStringLiteral("cinnosti"));
        ds.open();
        QVERIFY(ds.append());
        ds.setValue(QStringLiteral("cinnost"), 1);
        ds.setValue(QStringLiteral("cena_prace"), amount);
        ds.setValue(QStringLiteral("cena_material"), tenth + fifth);
        QVERIFY(ds.post());
        QCOMPARE(
            stored(QStringLiteral("SELECT CASE WHEN cena_material = 0.3 THEN 1 ELSE 0 END FROM cinnosti")),
            QStringList{"1"});
        ds.open();
        QCOMPARE(ds.value(QStringLiteral("cena_prace")), QVariant(amount));
        QCOMPARE(ds.text(QStringLiteral("cena_prace")), typed);
        QCOMPARE(ds.text(QStringLiteral("cena_material")), QStringLiteral("0,3"));
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestDataSet)
#include "tst_dataset.moc"
