// The revision plan: which cards it lists, with what, and the overdue count.
#include "plan/PlanModel.h"
#include "plan/PlanQuery.h"
#include "plan/PlanRows.h"
#include "plan/ReminderMail.h"
#include "store/CustomerOrder.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "support/OpenContext.h"
#include "support/SeedData.h"
#include "support/TestMain.h"

#include <QBrush>
#include <QFont>
#include <QTest>
#include <QUrl>

namespace {

const QDate today(2026, 12, 9);

// Customers 1 (watched) and 2 (not watched), their cards and activities.
struct PlanData : OpenContext
{
    PlanData()
    {
        addKotleAndRevize(context.connection, {QStringLiteral("Kontrola")});
        exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev, mesto, hlidani_revizi) VALUES "
                            "('Novák', 'Brno', TRUE), ('Dvořák', 'Praha', FALSE)"));
        exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, vyrobni_cislo, "
                            "vyrazeno_dne) VALUES "
                            "(1, 'Kotel', 'K', 1, 'SN-1', NULL), " // overdue: its latest next date is past
                            "(1, 'Krb', 'R', 9, NULL, NULL), "     // due within the month, no such category
                            "(1, 'Starý kotel', 'S', 1, NULL, '2020-01-01'), " // retired
                            "(1, 'Kamna', 'A', 1, NULL, NULL), "               // no next inspection
                            "(2, 'Kotel B', 'B', 1, NULL, NULL)")); // customer not watched, overdue
        exec(QStringLiteral(
            "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) VALUES "
            "(1, 1, 1, '2024-11-01', '2025-11-01'), (1, 1, 2, '2025-06-01', '2026-12-01'), "
            "(1, 1, 1, '2025-06-01', NULL), "
            "(1, 2, 1, '2025-12-20', '2026-12-20'), (1, 3, 1, '2019-01-01', '2020-01-01'), "
            "(1, 4, 2, '2026-01-01', NULL), (2, 5, 1, '2025-01-01', '2026-01-01')"));
        exec(QStringLiteral("INSERT INTO upozorneni (id_topneho_zdroje, datum, zpusob) VALUES "
                            "(1, '2026-11-01', 'dopis'), (1, '2026-11-20', 'e-mail')"));
    }

    DataSet rows{context.connection, QStringLiteral("DS_Plan")};
    PlanModel model;

    // Reads the plan as far as the filter's day and lists it under the filter.
    void load(const PlanFilter& filter)
    {
        const PlanQuery::Reading reading = PlanQuery::upTo(filter.until);
        rows.setCommandText(reading.sql, reading.params);
        rows.open();
        model.setRows(&rows, customerOrder(context.connection), filter);
    }

    // One line per listed card: "source|next|days|category|last activity|reminder".
    QStringList listed(const PlanFilter& filter)
    {
        load(filter);
        return lines({PlanModel::Source, PlanModel::NextRevision, PlanModel::Days, PlanModel::Category,
                      PlanModel::LastActivity, PlanModel::Reminded});
    }

    QStringList lines(const QList<int>& columns) const
    {
        QStringList out;
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (const int column : columns)
                cells << model.index(row, column).data().toString();
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
        const QString kotel = QStringLiteral("Kotel|1.12.2026|-8|Kotle|1.6.2025 Revize|20.11.2026 (e-mail)");
        const QString krb = QStringLiteral("Krb|20.12.2026|11||20.12.2025 Revize|");
        const QString kamna = QStringLiteral("Kamna|||Kotle|1.1.2026 Kontrola|");
        const QString kotelB = QStringLiteral("Kotel B|1.1.2026|-342|Kotle|1.1.2025 Revize|");
        QCOMPARE(f.listed({today, today.addDays(30), true, false}), (QStringList{kotel, krb}));
        QCOMPARE(f.listed({today, today.addDays(10), true, false}), (QStringList{kotel}));
        QCOMPARE(f.listed({today, today.addDays(30), true, true}), (QStringList{kotel, krb, kamna}));
        QCOMPARE(f.listed({today, today.addDays(30), false, false}), (QStringList{kotelB, kotel, krb}));
    }

    void readingMoreAddsWhatWasNotReadOnce()
    {
        PlanData f;
        // Customer 2 (not watched) gets a card due next year, customer 1 another.
        f.exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES "
                              "(2, 'Krb B', 'b', 1), (1, 'Kotel 2', 'k', 1)"));
        f.exec(QStringLiteral(
            "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) "
            "VALUES (2, 6, 1, '2026-01-10', '2027-01-10'), (1, 7, 1, '2026-01-15', '2027-01-15')"));
        PlanRows plan(f.context.connection, nullptr);
        // The cards read, each as often as it was read.
        const auto cards = [&] {
            QList<int> ids;
            const DataSet* rows = plan.dataSet();
            for (int row = 0; row < rows->recordCount(); ++row)
                ids << rows->rowValue(row, rows->fieldIndex(QStringLiteral("id_topneho_zdroje"))).toInt();
            std::sort(ids.begin(), ids.end());
            return ids;
        };
        plan.read(QDate(2026, 12, 5), false);
        QCOMPARE(cards(), (QList<int>{1, 4})); // the watched customer's overdue card and the one without
        plan.readUntil(QDate(2026, 12, 25));
        QCOMPARE(cards(), (QList<int>{1, 2, 4}));
        plan.readOtherCustomers();
        QCOMPARE(cards(), (QList<int>{1, 2, 4, 5}));
        plan.readUntil(QDate(2027, 1, 31)); // now of both customers
        QCOMPARE(cards(), (QList<int>{1, 2, 4, 5, 6, 7}));
        plan.readUntil(QDate(2027, 2, 28));
        QCOMPARE(cards(), (QList<int>{1, 2, 4, 5, 6, 7}));

        // Reading afresh forgets how far it reached.
        plan.read(QDate(2026, 12, 5), false);
        plan.readUntil(QDate(2027, 1, 31));
        QCOMPARE(cards(), (QList<int>{1, 2, 4, 7}));
        QCOMPARE(plan.customerOrder(), (QHash<int, int>{{2, 0}, {1, 1}})); // "Dvořák" before "Novák"
        QVERIFY(plan.isRead());
        f.exec(QStringLiteral("DROP VIEW pristi_revize"));
        f.exec(QStringLiteral("DROP TABLE pristi_revize_karet"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, plan.read(QDate(2026, 12, 5), false));
        QVERIFY(!plan.isRead()); // the window reads afresh next time
    }

    void theTextFilterIgnoresCaseAndAccentsAndTakesEveryCharacterAsItIs()
    {
        PlanData f;
        f.exec(
            QStringLiteral("INSERT INTO cis_zakaznici (nazev, mesto, hlidani_revizi) VALUES ('100% Servis', "
                           "'Žďár', TRUE), ('Servis_1', 'Ústí', TRUE)"));
        f.exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES "
                              "(3, 'Kotel C', 'C', 1), (4, 'Kotel D', 'D', 1)"));
        f.exec(QStringLiteral(
            "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) "
            "VALUES (3, 6, 1, '2025-01-01', '2026-12-10'), (4, 7, 1, '2025-01-01', '2026-12-10')"));
        f.load({today, today.addDays(30), true, false});
        const auto filtered = [&](const QString& text) {
            f.model.setTextFilter(text);
            return f.lines({PlanModel::Source});
        };
        QCOMPARE(filtered(QStringLiteral("NOVAK")),
                 (QStringList{QStringLiteral("Kotel"), QStringLiteral("Krb")}));
        QCOMPARE(filtered(QStringLiteral("zdar")), QStringList{QStringLiteral("Kotel C")}); // town
        QCOMPARE(filtered(QStringLiteral("krb")), QStringList{QStringLiteral("Krb")});      // source
        QCOMPARE(filtered(QStringLiteral("0% s")),
                 QStringList{QStringLiteral("Kotel C")}); // "%" is a percent sign
        QCOMPARE(filtered(QStringLiteral("s_1")),
                 QStringList{QStringLiteral("Kotel D")}); // "_" is an underscore
        QCOMPARE(filtered(QStringLiteral("%")), QStringList{QStringLiteral("Kotel C")});
        QCOMPARE(filtered(QStringLiteral("'")), QStringList{});
    }

    void sortingByAColumnKeepsThePlanOrderAmongEqualRows()
    {
        PlanData f;
        // Czech order: "Čech" after "Cyril", "Chalupa" after "Hora".
        f.exec(QStringLiteral(
            "INSERT INTO cis_zakaznici (nazev, hlidani_revizi) VALUES ('Čech', TRUE), ('Cyril', TRUE), "
            "('Chalupa', TRUE), ('Hora', TRUE)"));
        f.exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES "
                              "(3, 'Z3', 'x', 1), (4, 'Z4', 'x', 1), (5, 'Z5', 'x', 1), (6, 'Z6', 'x', 1)"));
        f.exec(QStringLiteral(
            "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) "
            "VALUES (3, 6, 1, '2025-01-01', '2026-12-15'), (4, 7, 1, '2025-01-01', '2026-12-15'), "
            "(5, 8, 1, '2025-01-01', '2026-12-15'), (6, 9, 1, '2025-01-01', '2026-12-14')"));
        f.load({today, today.addDays(30), true, false});
        const QList<int> customerAndSource{PlanModel::Customer, PlanModel::Source};
        // The plan's own order: next revision, then the customer in Czech order.
        QCOMPARE(f.lines(customerAndSource).join(u' '),
                 QStringLiteral("Novák|Kotel Hora|Z6 Cyril|Z4 Čech|Z3 Chalupa|Z5 Novák|Krb"));
        f.model.sort(PlanModel::Customer);
        QCOMPARE(f.lines(customerAndSource).join(u' '),
                 QStringLiteral("Cyril|Z4 Čech|Z3 Hora|Z6 Chalupa|Z5 Novák|Kotel Novák|Krb"));
        f.model.sort(PlanModel::Customer, Qt::DescendingOrder);
        QCOMPARE(f.lines(customerAndSource).join(u' '),
                 QStringLiteral("Novák|Kotel Novák|Krb Chalupa|Z5 Hora|Z6 Čech|Z3 Cyril|Z4"));
        // Empty values last: the source of an unknown category.
        f.model.sort(PlanModel::Category);
        QCOMPARE(f.lines({PlanModel::Source}).last(), QStringLiteral("Krb"));
        f.model.sort(PlanModel::Reminded, Qt::DescendingOrder);
        QCOMPARE(f.lines({PlanModel::Source}).first(), QStringLiteral("Kotel"));
    }

    void overdueRowsAreRedAndRowsDueWithinAWeekBold()
    {
        PlanData f;
        f.load({today, today.addDays(30), true, true});
        const auto style = [&](int row) {
            const QModelIndex cell = f.model.index(row, PlanModel::Customer);
            const bool red = cell.data(Qt::ForegroundRole).value<QBrush>().color() == QColor(Qt::red);
            const bool bold = cell.data(Qt::FontRole).value<QFont>().bold();
            return QStringLiteral("%1%2%3").arg(f.model.index(row, PlanModel::Source).data().toString(),
                                                red ? QStringLiteral(" red") : QString(),
                                                bold ? QStringLiteral(" bold") : QString());
        };
        QCOMPARE(style(0), QStringLiteral("Kotel red"));
        QCOMPARE(style(1), QStringLiteral("Krb"));   // 11 days ahead
        QCOMPARE(style(2), QStringLiteral("Kamna")); // no next revision
        QCOMPARE(f.model.overdueCount(), 1);
        f.model.setFilter({QDate(2026, 12, 13), today.addDays(30), true, true});
        QCOMPARE(style(1), QStringLiteral("Krb bold")); // 7 days ahead
        f.model.setFilter({QDate(2026, 12, 20), today.addDays(30), true, true});
        QCOMPARE(style(1), QStringLiteral("Krb bold")); // due today
        QCOMPARE(f.model.index(1, PlanModel::Days).data().toString(), QStringLiteral("0"));
    }

    void theReminderMailNamesTheSourcesAndEncodesEveryCharacter()
    {
        Settings firm;
        firm.NazevSubjektu = QStringLiteral("Topservis s.r.o.");
        firm.OdpovednaOsoba = QStringLiteral("Jan Čermák");
        firm.Tel = QStringLiteral("777 123 456");
        const QString body =
            ReminderMail::body({{QStringLiteral("Kotel & krb"), QStringLiteral("SN-1"), QDate(2026, 12, 1)},
                                {QStringLiteral("Kamna"), QString(), QDate(2027, 1, 5)}},
                               firm, today);
        QCOMPARE(body, QStringLiteral(
                           "Dobrý den,\r\n\r\npřipomínáme Vám termíny pravidelných revizí Vašich topných "
                           "zdrojů:\r\n\r\n- Kotel & krb, výrobní číslo SN-1, termín revize 1.12.2026 "
                           "(termín již uplynul)\r\n- Kamna, termín revize 5.1.2027\r\n\r\nOzvěte se nám, "
                           "prosím, abychom se domluvili na termínu návštěvy našeho technika.\r\n\r\nS "
                           "pozdravem\r\nJan Čermák\r\nTopservis s.r.o.\r\ntel. 777 123 456"));
        const QString address = ReminderMail::mailtoAddress(QStringLiteral(" novák@příklad.cz; b+c@x.cz "),
                                                            ReminderMail::subject(), body);
        QVERIFY(
            address.startsWith(QStringLiteral("mailto:nov%C3%A1k@p%C5%99%C3%ADklad.cz,b+c@x.cz?subject=P%C5%"
                                              "99ipomenut%C3%AD%20revize&body=Dobr%C3%BD%20den%2C%0D%0A")));
        QVERIFY(address.contains(QStringLiteral("Kotel%20%26%20krb")));
        // What the desktop is handed reads back as the text itself.
        const QUrl url(address);
        QCOMPARE(QUrl::fromPercentEncoding(url.query(QUrl::FullyEncoded).section(u'=', 2).toLatin1()), body);
        QCOMPARE(ReminderMail::mailtoAddress(QStringLiteral(" ; "), ReminderMail::subject(), body),
                 QString());
    }

    void theOverdueCountTakesWatchedCustomersInService()
    {
        PlanData f;
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, today), 1);
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, QDate(2026, 12, 21)), 2);
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, QDate(2026, 12, 1)),
                 0); // due today is not overdue
        f.exec(QStringLiteral("UPDATE cis_zakaznici SET hlidani_revizi = TRUE"));
        QCOMPARE(PlanQuery::overdueCount(f.context.connection, today), 2);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestPlan)
#include "tst_plan.moc"
