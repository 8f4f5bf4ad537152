// The next inspections the database keeps: true after any sequence of writes, whoever makes
// them, and brought into an older database by the start-up upgrade.
#include "exchange/CustomerImport.h"
#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/NextInspections.h"
#include "store/Schema.h"
#include "support/KeptNextInspections.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Every trigger that keeps the dates, with the table it watches.
const QList<std::pair<const char*, const char*>> keepingTriggers{
    {"pristi_revize_cinnost_nova", "cinnosti"},          {"pristi_revize_cinnost_zmenena", "cinnosti"},
    {"pristi_revize_cinnost_smazana", "cinnosti"},       {"pristi_revize_upozorneni_nove", "upozorneni"},
    {"pristi_revize_upozorneni_zmenene", "upozorneni"},  {"pristi_revize_upozorneni_smazane", "upozorneni"},
    {"pristi_revize_karta_nova", "topny_zdroj"},         {"pristi_revize_karta_zmenena", "topny_zdroj"},
    {"pristi_revize_karta_smazana", "topny_zdroj"},      {"pristi_revize_zakaznik_novy", "cis_zakaznici"},
    {"pristi_revize_zakaznik_zmeneny", "cis_zakaznici"}, {"pristi_revize_zakaznik_smazany", "cis_zakaznici"}};

void dropTrigger(Connection& db, const QString& trigger, const QString& table)
{
    db.execute(db.isServer() ? QStringLiteral("DROP TRIGGER %1 ON %2").arg(trigger, table)
                             : QStringLiteral("DROP TRIGGER %1").arg(trigger));
}

// Random writes of every kind that touches the kept dates, on a few customers, cards,
// activities and reminders, so that the same ids meet again and again.
class RandomWrites
{
public:
    RandomWrites(Connection& db, const QString& importFile, quint32 seed)
        : m_db(db), m_importFile(importFile), m_random(seed)
    {
    }

    // One write; returns what it did.
    QString step()
    {
        switch (m_random.bounded(16)) {
        case 0:
        case 1:
        case 2:
            return exec(
                QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, "
                               "datum_pristi) VALUES (1, ?, ?, ?, ?)"),
                {card(), kind(), date(), date()});
        case 3:
            return exec(QStringLiteral("UPDATE cinnosti SET datum_pristi = ? WHERE id = ?"),
                        {date(), activity()});
        case 4:
            return exec(QStringLiteral("UPDATE cinnosti SET datum = ?, cinnost = ? WHERE id = ?"),
                        {date(), kind(), activity()});
        case 5:
            return exec(QStringLiteral("UPDATE cinnosti SET id_topneho_zdroje = ? WHERE id = ?"),
                        {card(), activity()});
        case 6:
            return exec(QStringLiteral("DELETE FROM cinnosti WHERE id = ?"), {activity()});
        case 7:
            return exec(QStringLiteral("INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, kategorie, "
                                       "vyrazeno_dne) VALUES (?, ?, 'Kotel', 'K', 1, ?)"),
                        {card(), customer(), m_random.bounded(4) == 0 ? date() : QVariant()});
        case 8:
            return exec(QStringLiteral("DELETE FROM topny_zdroj WHERE id = ?"), {card()});
        case 9:
            return exec(QStringLiteral("UPDATE topny_zdroj SET vyrazeno_dne = ? WHERE id = ?"),
                        {m_random.bounded(2) == 0 ? date() : QVariant(), card()});
        case 10:
            return exec(QStringLiteral("UPDATE topny_zdroj SET id_zakaznika = ? WHERE id = ?"),
                        {customer(), card()});
        case 11:
            return exec(
                QStringLiteral("INSERT INTO cis_zakaznici (id, nazev, hlidani_revizi) VALUES (?, 'Z', ?)"),
                {customer(), watched()});
        case 12:
            return exec(QStringLiteral("UPDATE cis_zakaznici SET hlidani_revizi = ? WHERE id = ?"),
                        {watched(), customer()});
        case 13:
            return exec(QStringLiteral("DELETE FROM cis_zakaznici WHERE id = ?"), {customer()});
        case 14:
            switch (m_random.bounded(3)) {
            case 0:
                return exec(QStringLiteral(
                                "INSERT INTO upozorneni (id_topneho_zdroje, datum, zpusob) VALUES (?, ?, ?)"),
                            {card(), date(),
                             m_random.bounded(2) == 0 ? QStringLiteral("dopis") : QStringLiteral("ručně")});
            case 1:
                return exec(
                    QStringLiteral("UPDATE upozorneni SET datum = ?, id_topneho_zdroje = ? WHERE id = ?"),
                    {date(), card(), reminder()});
            default:
                return exec(QStringLiteral("DELETE FROM upozorneni WHERE id = ?"), {reminder()});
            }
        default:
            return importActivities();
        }
    }

private:
    QVariant card() { return int(m_random.bounded(1, 13)); }
    QVariant customer() { return int(m_random.bounded(1, 7)); }
    QVariant kind() { return int(m_random.bounded(1, 4)); }
    QVariant watched() { return m_random.bounded(3) == 0 ? QVariant() : QVariant(m_random.bounded(2) == 0); }
    QVariant activity() { return int(m_random.bounded(1, m_activities + 2)); }
    QVariant reminder() { return int(m_random.bounded(1, 12)); }
    // A day of a few years, now and then none, often one already used.
    QVariant date()
    {
        if (m_random.bounded(8) == 0)
            return {};
        return QDate(2024, 1, 1).addDays(m_random.bounded(40) * 30).toString(Qt::ISODate);
    }

    QString exec(const QString& sql, const QVariantList& params)
    {
        QStringList values;
        for (const QVariant& v : params)
            values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        const QString what = sql + QStringLiteral(" [") + values.join(QStringLiteral(", ")) + u']';
        try {
            m_db.execute(sql, params);
            if (sql.startsWith(QStringLiteral("INSERT INTO cinnosti")))
                ++m_activities;
        } catch (const DatabaseError&) {
            return what + QStringLiteral(" (refused)"); // an id taken already
        }
        return what;
    }

    // Three activities through the import of an XML file, as the office would import them.
    QString importActivities()
    {
        QString records;
        for (int i = 0; i < 3; ++i) {
            const QVariant next = date();
            records += QStringLiteral("<zaznam><id_zakaznika>1</id_zakaznika><id_topneho_zdroje>%1"
                                      "</id_topneho_zdroje><cinnost>1</cinnost><datum>%2</datum>%3</zaznam>")
                           .arg(card().toInt())
                           .arg(QDate::fromString(date().toString(), Qt::ISODate)
                                    .toString(QStringLiteral("d.M.yyyy")),
                                next.isNull() ? QString()
                                              : QStringLiteral("<datum_pristi>%1</datum_pristi>")
                                                    .arg(QDate::fromString(next.toString(), Qt::ISODate)
                                                             .toString(QStringLiteral("d.M.yyyy"))));
        }
        QFile file(m_importFile);
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("import file not written");
        file.write((QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><data>") + records +
                    QStringLiteral("</data>"))
                       .toUtf8());
        file.close();
        ImportovatXML(m_db, m_importFile, QStringLiteral("cinnosti"));
        m_activities += 3;
        return QStringLiteral("import of ") + records;
    }

    Connection& m_db;
    QString m_importFile;
    QRandomGenerator m_random;
    int m_activities = 0;
};

} // namespace

class TestNextInspection : public QObject
{
    Q_OBJECT

    TestDatabase* m_database = nullptr;
    Connection* m_db = nullptr;

    // Runs random writes from a seed; the first step after which the kept dates are wrong,
    // with the difference, or empty when they stayed true throughout.
    QString firstWrongStep(quint32 seed, int steps)
    {
        RandomWrites writes(*m_db, m_database->dir().path(QStringLiteral("cinnosti.xml")), seed);
        for (int i = 0; i < steps; ++i) {
            const QString what = writes.step();
            if (const QString wrong = keptNextInspectionsDiffer(*m_db); !wrong.isEmpty())
                return QStringLiteral("step %1: %2\n%3").arg(i).arg(what, wrong);
        }
        return {};
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
        m_db = nullptr;
        delete m_database;
        m_database = nullptr;
    }

    // Inserts, changes and deletes of activities, reminders, cards and customers, cards
    // taken out of service and back, and imports: after each the kept rows equal those
    // worked out from the rest. Each trigger is needed: without any one of them the same
    // writes leave a wrong row.
    void theKeptDatesFollowEveryWrite_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("table");
        QTest::newRow("every trigger") << QString() << QString();
        for (const auto& [trigger, table] : keepingTriggers)
            QTest::newRow(trigger) << QString::fromLatin1(trigger) << QString::fromLatin1(table);
        // The file's kept row works out its dates in a trigger of its own.
        if (currentTestEngine() == TestEngine::File)
            QTest::newRow("pristi_revize_radek_novy")
                << QStringLiteral("pristi_revize_radek_novy") << QStringLiteral("pristi_revize_karet");
    }

    void theKeptDatesFollowEveryWrite()
    {
        QFETCH(QString, missing);
        QFETCH(QString, table);
        if (!missing.isEmpty())
            dropTrigger(*m_db, missing, table);
        QString wrong;
        for (quint32 seed = 1; seed <= 4 && wrong.isEmpty(); ++seed)
            wrong = firstWrongStep(seed, 250);
        if (missing.isEmpty())
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        else
            QVERIFY2(!wrong.isEmpty(), "every kept row stayed true without the trigger");
    }

    // A database of an earlier version has no kept dates and reads the view of old: the
    // upgrade at start-up makes and fills them in one go. A database whose triggers differ
    // from this version's is made anew and filled again.
    void anOlderDatabaseGetsTheKeptDates()
    {
        QVERIFY(firstWrongStep(7, 120).isEmpty());
        if (m_db->isServer()) {
            m_db->execute(QStringLiteral("DROP TABLE pristi_revize_karet CASCADE"));
            m_db->execute(QStringLiteral("DROP FUNCTION pristi_revize_po_zmene() CASCADE"));
            m_db->execute(QStringLiteral("DROP FUNCTION pristi_revize_po_zakaznikovi() CASCADE"));
        } else {
            for (const auto& [trigger, table] : keepingTriggers)
                dropTrigger(*m_db, QString::fromLatin1(trigger), QString::fromLatin1(table));
            m_db->execute(QStringLiteral("DROP VIEW pristi_revize"));
            m_db->execute(QStringLiteral("DROP TABLE pristi_revize_karet"));
        }
        m_db->execute(
            QStringLiteral("CREATE VIEW pristi_revize AS SELECT t.id AS id_topneho_zdroje, "
                           "(SELECT max(c.datum_pristi) FROM cinnosti c WHERE c.id_topneho_zdroje = t.id) "
                           "AS datum FROM topny_zdroj t WHERE t.vyrazeno_dne IS NULL"));
        m_db->forgetSchema();
        QVERIFY(!NextInspections::isCurrent(*m_db));

        QVERIFY(Schema::upgrade(*m_db));
        QVERIFY(NextInspections::isCurrent(*m_db));
        QCOMPARE(keptNextInspectionsDiffer(*m_db), QString());
        QVERIFY(m_db->query(QStringLiteral("SELECT count(*) FROM pristi_revize_karet")).rows[0][0].toInt() >
                0);
        // The view reads the kept dates.
        QCOMPARE(m_db->query(QStringLiteral("SELECT count(*) FROM pristi_revize v JOIN pristi_revize_karet p "
                                            "ON p.id_topneho_zdroje = v.id_topneho_zdroje "
                                            "WHERE v.datum IS NOT DISTINCT FROM p.datum"))
                     .rows[0][0]
                     .toInt(),
                 m_db->query(QStringLiteral("SELECT count(*) FROM pristi_revize_karet")).rows[0][0].toInt());
        QVERIFY(firstWrongStep(8, 60).isEmpty()); // and the triggers keep them from now on

        // Another version's definition: everything is made anew and the rows worked out again.
        m_db->execute(QStringLiteral("UPDATE pristi_revize_karet SET datum = '1999-01-01'"));
        if (m_db->isServer())
            m_db->execute(QStringLiteral("COMMENT ON TABLE pristi_revize_karet IS 'of another version'"));
        else
            dropTrigger(*m_db, QStringLiteral("pristi_revize_karta_smazana"), QStringLiteral("topny_zdroj"));
        QVERIFY(!NextInspections::isCurrent(*m_db));
        QVERIFY(Schema::upgrade(*m_db));
        QVERIFY(NextInspections::isCurrent(*m_db));
        QCOMPARE(keptNextInspectionsDiffer(*m_db), QString());
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestNextInspection)
#include "tst_nextinspection.moc"
