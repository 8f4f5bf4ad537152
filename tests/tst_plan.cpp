// The inspection plan: which cards it lists, with what, and the overdue count.
#include "plan/PlanQuery.h"
#include "store/DataSet.h"
#include "support/Fixture.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

const QDate today(2026, 12, 9);

// Customers 1 (watched) and 2 (not watched), their cards and activities.
struct PlanData : OpenContext
{
    PlanData()
    {
        exec(QStringLiteral("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES ('Revize'), ('Kontrola')"));
        exec(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Kotle', 12)"));
        exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev, mesto, hlidani_revizi) VALUES "
                            "('Novák', 'Brno', 1), ('Dvořák', 'Praha', 0)"));
        exec(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, vyrobni_cislo, vyrazeno_dne) VALUES "
            "(1, 'Kotel', 'K', 1, 'SN-1', NULL), "     // overdue: its latest next date is past
            "(1, 'Krb', 'R', 9, NULL, NULL), "         // due within the month, no such category
            "(1, 'Starý kotel', 'S', 1, NULL, '2020-01-01'), " // retired
            "(1, 'Kamna', 'A', 1, NULL, NULL), "       // no next inspection
            "(2, 'Kotel B', 'B', 1, NULL, NULL)"));    // customer not watched, overdue
        exec(QStringLiteral(
            "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) VALUES "
            "(1, 1, 1, '2024-11-01', '2025-11-01'), (1, 1, 2, '2025-06-01', '2026-12-01'), "
            "(1, 1, 1, '2025-06-01', NULL), "
            "(1, 2, 1, '2025-12-20', '2026-12-20'), (1, 3, 1, '2019-01-01', '2020-01-01'), "
            "(1, 4, 2, '2026-01-01', NULL), (2, 5, 1, '2025-01-01', '2026-01-01')"));
        exec(QStringLiteral("INSERT INTO upozorneni (id_topneho_zdroje, datum, zpusob) VALUES "
                            "(1, '2026-11-01', 'dopis'), (1, '2026-11-20', 'e-mail')"));
    }

    // One line per listed card: "source next days last-activity reminder".
    QStringList listed(const PlanFilter& filter)
    {
        DataSet rows(context.connection, QStringLiteral("DS_Plan"));
        rows.setCommandText(PlanQuery::sql(), PlanQuery::params(filter));
        rows.open();
        QStringList out;
        for (int row = 0; row < rows.recordCount(); ++row) {
            QStringList cells;
            for (const char* field : {"zdroj", "pristi_revize", "dni", "kategorie", "posledni_datum", "posledni_cinnost",
                                      "upozorneno", "zpusob_upozorneni"})
                cells << rows.rowValue(row, rows.fieldIndex(QString::fromLatin1(field))).toString();
            out << cells.join(u'|');
        }
        return out;
    }
};

} // namespace

class TestPlan : public QObject
{
    Q_OBJECT

private slots:
    void theFiltersDecideWhichCardsAreListed()
    {
        PlanData f;
        const QString kotel = QStringLiteral("Kotel|2026-12-01|-8|Kotle|2025-06-01|Revize|2026-11-20|e-mail");
        const QString krb = QStringLiteral("Krb|2026-12-20|11||2025-12-20|Revize||");
        const QString kamna = QStringLiteral("Kamna|||Kotle|2026-01-01|Kontrola||");
        const QString kotelB = QStringLiteral("Kotel B|2026-01-01|-342|Kotle|2025-01-01|Revize||");
        QCOMPARE(f.listed({today, today.addDays(30), true, false}), (QStringList{kotel, krb}));
        QCOMPARE(f.listed({today, today.addDays(10), true, false}), (QStringList{kotel}));
        QCOMPARE(f.listed({today, today.addDays(30), true, true}), (QStringList{kotel, krb, kamna}));
        QCOMPARE(f.listed({today, today.addDays(30), false, false}), (QStringList{kotelB, kotel, krb}));
    }

    void theOverdueCountTakesWatchedCustomersInService()
    {
        PlanData f;
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, today), 1);
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, QDate(2026, 12, 21)), 2);
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, QDate(2026, 12, 1)), 0); // due today is not overdue
        f.exec(QStringLiteral("UPDATE cis_zakaznici SET hlidani_revizi = 1"));
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, today), 2);
    }
};

VESTIBOR_TEST_MAIN(TestPlan)
#include "tst_plan.moc"
