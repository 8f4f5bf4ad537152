// The plan window beside the main window: the overdue count, opening customers from the
// plan, recording reminders by hand, by e-mail and by letter, the export and the window's
// remembered place.
#include "exchange/ReportBinding.h"
#include "plan/PlanModel.h"
#include "plan/PlanRevizi_f.h"
#include "store/ColumnKind.h"
#include "store/DataSet.h"
#include "support/MainWindowFixture.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/CommandNames.h"
#include "uikit/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

const QDate today = QDate::currentDate();

QString day(int daysFromToday)
{
    return today.addDays(daysFromToday).toString(Qt::ISODate);
}

// Customer 1 "Novák" (watched, with e-mail): card 1 overdue, card 2 due in 5 days.
// Customer 2 "Dvořák" (watched, no e-mail): card 3 due in 20 days.
struct PlanWindowFixture : MainWindowFixture
{
    TestDialogs dialogs;

    explicit PlanWindowFixture(const QByteArray& ini = noSaveQuestion) : MainWindowFixture(ini)
    {
        start();
        addKotleAndRevize(connection());
        exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev, mesto, email, hlidani_revizi) VALUES "
                            "('Novák', 'Brno', 'novák@příklad.cz', TRUE), ('Dvořák', 'Praha', NULL, TRUE)"));
        exec(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, vyrobni_cislo) VALUES "
            "(1, 'Kotel', 'K', 1, 'SN-1'), (1, 'Krb', 'R', 1, NULL), (2, 'Kamna', 'A', 1, NULL)"));
        exec(QStringLiteral(
                 "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) "
                 "VALUES (1, 1, 1, ?, ?), (1, 2, 1, ?, ?), (2, 3, 1, ?, ?)"),
             {day(-400), day(-35), day(-360), day(5), day(-345), day(20)});
        reloadLookups();
        w->recountOverdue();
    }

    TPlanRevizi* plan()
    {
        run(Akce_PlanRevizi);
        return child<TPlanRevizi>(*w);
    }

    // The listed sources, by name.
    static QStringList sources(TPlanRevizi* plan)
    {
        QStringList names;
        for (int row = 0; row < plan->model()->rowCount(); ++row)
            names << plan->model()->index(row, PlanModel::Source).data().toString();
        return names;
    }

    static void select(TPlanRevizi* plan, const QList<int>& rows)
    {
        QItemSelectionModel* selection = plan->grid()->selectionModel();
        selection->clearSelection();
        for (const int row : rows)
            selection->select(plan->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(plan->model()->index(rows.first(), 0), QItemSelectionModel::NoUpdate);
    }

    static void press(TPlanRevizi* plan, const char* button) { child<QPushButton>(*plan, button)->click(); }

    QStringList reminders()
    {
        QStringList out;
        for (const auto& row :
             w->context()
                 .connection
                 .query(QStringLiteral("SELECT id_topneho_zdroje, datum, zpusob FROM upozorneni "
                                       "ORDER BY id"))
                 .rows)
            out << QStringLiteral("%1 %2 %3").arg(row[0].toString(), row[1].toString(), row[2].toString());
        return out;
    }
};

} // namespace

class TestPlanWindow : public QObject
{
    Q_OBJECT

private slots:
    void theOverdueCountFollowsSavedActivitiesAndOpensTheOverduePlan()
    {
        PlanWindowFixture f;
        QLabel* label = f.find<QLabel>("La_PoTerminu");
        QVERIFY(label->isVisible());
        QVERIFY(label->text().contains(QStringLiteral(">Po termínu: 1<")));

        // An activity with a later next date takes the card out of the overdue ones; saving
        // and deleting count again.
        f.open(1);
        DataSet* activities = f.w->records().DS_Cin;
        for (const int days : {300, -35}) {
            QVERIFY(activities->edit());
            activities->setValue(QStringLiteral("datum_pristi"), today.addDays(days));
            QVERIFY(activities->post());
            QCOMPARE(label->isVisible(), days < 0);
        }
        activities->deleteRecord();
        QVERIFY(label->isHidden());

        f.exec(QStringLiteral("UPDATE cinnosti SET datum_pristi = ? WHERE id_topneho_zdroje = 3"), {day(-3)});
        emit label->linkActivated(QStringLiteral("plan"));
        TPlanRevizi* plan = child<TPlanRevizi>(*f.w);
        QVERIFY(plan && plan->isVisible() && !plan->isModal());
        QCOMPARE(PlanWindowFixture::sources(plan), QStringList{QStringLiteral("Kamna")});
        QCOMPARE(plan->filter().until, today.addDays(-1));

        // A save in the main window shows in the plan when the plan is next activated.
        f.w->closeCustomer();
        f.open(2);
        QVERIFY(activities->edit());
        activities->setValue(QStringLiteral("datum_pristi"), today.addDays(300));
        QVERIFY(activities->post());
        QCOMPARE(PlanWindowFixture::sources(plan), QStringList{QStringLiteral("Kamna")});
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(plan, &activate);
        QCOMPARE(PlanWindowFixture::sources(plan), QStringList{});
    }

    void theFiltersListTheDueSources()
    {
        PlanWindowFixture f("[konfig]\r\nhsl=0\r\nDialogUlozit=0\r\n[PlanRevizi]\r\nDnyPredem=10\r\n");
        TPlanRevizi* plan = f.plan();
        QCOMPARE(child<QLineEdit>(*plan, "Ed_RevizeDo")->text(), FieldValues::dateText(today.addDays(10)));
        QCOMPARE(PlanWindowFixture::sources(plan),
                 (QStringList{QStringLiteral("Kotel"), QStringLiteral("Krb")}));
        QCOMPARE(child<QLabel>(*plan, "La_Pocitadlo")->text(),
                 QStringLiteral("Zdrojů: 2, z toho po termínu: 1"));

        // A later day reads only the sources it adds; watching is filtered in memory.
        QLineEdit* until = child<QLineEdit>(*plan, "Ed_RevizeDo");
        until->setText(FieldValues::dateText(today.addDays(30)));
        emit until->editingFinished();
        QCOMPARE(PlanWindowFixture::sources(plan).size(), 3);
        f.exec(QStringLiteral("UPDATE cis_zakaznici SET hlidani_revizi = FALSE WHERE id = 2"));
        plan->refresh();
        QCOMPARE(PlanWindowFixture::sources(plan).size(), 2);
        child<QCheckBox>(*plan, "CB_JenHlidane")->setChecked(false);
        QCOMPARE(PlanWindowFixture::sources(plan).size(), 3);

        until->setText(QStringLiteral("31.2.2026"));
        emit until->editingFinished();
        QVERIFY(f.dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                      QStringLiteral("„31.2.2026“ není platné datum. Zadejte datum ve tvaru "
                                                     "den.měsíc.rok.")));
        QCOMPARE(until->text(), FieldValues::dateText(today.addDays(30)));

        child<QLineEdit>(*plan, "Ed_Filtr")->setText(QStringLiteral("PRAHA"));
        QCOMPARE(PlanWindowFixture::sources(plan), QStringList{QStringLiteral("Kamna")});
    }

    void openingASourceGoesThroughTheOpenCustomerQuestions()
    {
        PlanWindowFixture f("[konfig]\r\nhsl=0\r\nDialogUlozit=1\r\n");
        TPlanRevizi* plan = f.plan();
        PlanWindowFixture::select(plan, {1}); // Krb of customer 1
        PlanWindowFixture::press(plan, "Tl_Otevrit");
        QCOMPARE(f.w->records().IdOtevrenehoZakaznika, 1);
        QCOMPARE(f.w->records().DS_Karty->value(QStringLiteral("id")).toInt(), 2);

        // A pending card edit whose save the user declines keeps the customer open.
        QVERIFY(f.w->records().DS_Karty->edit());
        f.w->records().DS_Karty->setValue(QStringLiteral("typ"), QStringLiteral("nový"));
        f.dialogs.answerQuestion(Answer::No);
        PlanWindowFixture::select(plan, {0});
        QTest::keyClick(plan->grid(), Qt::Key_Return);
        f.dialogs.take();
        QCOMPARE(f.w->records().IdOtevrenehoZakaznika, 1);
        QVERIFY(f.w->records().DS_Karty->isEditing());
        f.w->records().DS_Karty->cancel();

        // A customer deleted meanwhile is reported and leaves the plan.
        f.exec(QStringLiteral("DELETE FROM cinnosti WHERE id_zakaznika = 2"));
        f.exec(QStringLiteral("DELETE FROM topny_zdroj WHERE id_zakaznika = 2"));
        f.exec(QStringLiteral("DELETE FROM cis_zakaznici WHERE id = 2"));
        QCOMPARE(PlanWindowFixture::sources(plan).size(), 3); // read before the deletion
        PlanWindowFixture::select(plan, {2});
        PlanWindowFixture::press(plan, "Tl_Otevrit");
        QVERIFY(f.dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral("Zákazník nebo jeho topný zdroj byl mezitím z databáze odstraněn.")));
        QCOMPARE(PlanWindowFixture::sources(plan).size(), 2);
        QCOMPARE(f.w->records().IdOtevrenehoZakaznika, 1);
    }

    void remindersAreRecordedAllOrNone()
    {
        PlanWindowFixture f;
        TPlanRevizi* plan = f.plan();
        PlanWindowFixture::select(plan, {0, 1});
        refuseWrites(f.w->context().connection, QStringLiteral("upozorneni"), QStringLiteral("INSERT"),
                     QStringLiteral("database or disk is full"), QStringLiteral("NEW.id_topneho_zdroje = 2"));
        PlanWindowFixture::press(plan, "Tl_OznacitUpozorneni");
        const DialogCall failure = f.dialogs.take();
        QVERIFY(failure.text.startsWith(
            QStringLiteral("Upozornění se nepodařilo zaznamenat, nic nebylo uloženo.\r\n")));
        QVERIFY(failure.text.contains(QStringLiteral("database or disk is full")));
        QCOMPARE(f.reminders(), QStringList{});

        allowWrites(f.w->context().connection, QStringLiteral("upozorneni"));
        PlanWindowFixture::press(plan, "Tl_OznacitUpozorneni");
        const QString date = day(0);
        QCOMPARE(f.reminders(), (QStringList{"1 " + date + " ručně", "2 " + date + " ručně"}));
        QCOMPARE(plan->model()->index(0, PlanModel::Reminded).data().toString(),
                 FieldValues::dateText(today) + QStringLiteral(" (ručně)"));
    }

    void anEmailOpensTheMailProgramAndMayBeRecorded()
    {
        PlanWindowFixture f;
        TPlanRevizi* plan = f.plan();
        PlanWindowFixture::select(plan, {2}); // Dvořák has no e-mail
        QVERIFY(!child<QPushButton>(*plan, "Tl_Email")->isEnabled());
        PlanWindowFixture::select(plan, {0, 1, 2});
        QVERIFY(child<QPushButton>(*plan, "Tl_Email")->isEnabled());
        f.dialogs.answerQuestion(Answer::Yes);
        PlanWindowFixture::press(plan, "Tl_Email");
        QVERIFY(f.dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Vestibor"),
                                       QStringLiteral("Zaznamenat u těchto zdrojů (2) dnešní upozornění?")));
        QCOMPARE(f.dialogs.shellTargets.size(), 1);
        const QString target = f.dialogs.shellTargets.first();
        QVERIFY(target.startsWith(QStringLiteral("mailto:nov%C3%A1k@p%C5%99%C3%ADklad.cz?subject=")));
        QVERIFY(target.contains(QStringLiteral("Kotel%2C%20v%C3%BDrobn%C3%AD%20%C4%8D%C3%ADslo%20SN-1")));
        QVERIFY(target.contains(QStringLiteral("Krb")) && !target.contains(QStringLiteral("Kamna")));
        QCOMPARE(f.reminders(), (QStringList{"1 " + day(0) + " e-mail", "2 " + day(0) + " e-mail"}));
    }

    void lettersGoToTheGeneratorForTheSelectedOrAllListedSources()
    {
        PlanWindowFixture f;
        TPlanRevizi* plan = f.plan();
        QList<ReportBinding::PreviewCall> calls;
        int answer = 0;
        const auto previous = ReportBinding::setPreviewLauncher([&](const ReportBinding::PreviewCall& call) {
            calls << call;
            return answer;
        });
        // Without the template the user is told so.
        PlanWindowFixture::press(plan, "Tl_TiskUpozorneni");
        QVERIFY(f.dialogs.take().text.startsWith(QStringLiteral("Předloha dopisu „")));
        f.dir.writeFile(QStringLiteral("Ses/upozorneni_na_revizi.sestava"), "[sestava]\n");

        f.dialogs.answerQuestion(Answer::No); // nothing selected yet: every listed source
        PlanWindowFixture::press(plan, "Tl_TiskUpozorneni");
        f.dialogs.take();
        QCOMPARE(calls.last().extraParameters, QStringLiteral("Zdroje|1,2,3"));
        QCOMPARE(calls.last().templatePath, f.dir.path(QStringLiteral("Ses/upozorneni_na_revizi.sestava")));
        QVERIFY(calls.last().parameters.startsWith(QStringLiteral("NazevSubjektu|")));
        QVERIFY(calls.last().parameters.endsWith(QStringLiteral("|OtevrenyZakaznik|0")));

        // The letters name the customer open in the main window when they are printed.
        f.open(2);
        PlanWindowFixture::select(plan, {2});
        f.dialogs.answerQuestion(Answer::Yes);
        PlanWindowFixture::press(plan, "Tl_TiskUpozorneni");
        QVERIFY(f.dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Vestibor"),
                                       QStringLiteral("Zaznamenat u tohoto zdroje dnešní upozornění?")));
        QCOMPARE(calls.last().extraParameters, QStringLiteral("Zdroje|3"));
        QVERIFY(calls.last().parameters.endsWith(QStringLiteral("|OtevrenyZakaznik|2")));
        QCOMPARE(f.reminders(), QStringList{"3 " + day(0) + " dopis"});

        answer = -1; // the generator could not show it: nothing is asked
        PlanWindowFixture::press(plan, "Tl_TiskUpozorneni");
        QCOMPARE(f.dialogs.pending(), 0);
        ReportBinding::setPreviewLauncher(previous);
    }

    void theExportWritesTheListedRowsInTheirOrder()
    {
        PlanWindowFixture f;
        TPlanRevizi* plan = f.plan();
        plan->model()->sort(PlanModel::Source, Qt::DescendingOrder);
        child<QLineEdit>(*plan, "Ed_Filtr")->setText(QStringLiteral("novak"));
        const QString path = f.dir.path(QStringLiteral("plan.csv"));
        f.dialogs.answerSaveFile(FileChoice{path, 1});
        PlanWindowFixture::press(plan, "Tl_Export");
        const QList<QByteArray> lines = f.dir.readFile(QStringLiteral("plan.csv")).split('\n');
        QCOMPARE(lines.size(), 4); // titles, two rows, the end
        QVERIFY(lines[0].startsWith("id_topneho_zdroje|id_zakaznika|"));
        QVERIFY(lines[1].startsWith("2|1|") && lines[2].startsWith("1|1|"));
    }

    void thePlaceIsRememberedWhenTheUserClosesTheWindowOnly()
    {
        PlanWindowFixture f;
        TPlanRevizi* plan = f.plan();
        plan->resize(900, 500);
        plan->grid()->setColumnWidth(PlanModel::Customer, 222);
        const QByteArray before = f.dir.readFile(QStringLiteral("Vestibor.ini"));
        f.w->close(); // the end of the program writes nothing
        QCOMPARE(f.dir.readFile(QStringLiteral("Vestibor.ini")), before);

        PlanWindowFixture again;
        plan = again.plan();
        plan->resize(900, 500);
        plan->grid()->setColumnWidth(PlanModel::Customer, 222);
        QTest::keyClick(plan, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(noChild<TPlanRevizi>(*again.w));
        const QByteArray ini = again.dir.readFile(QStringLiteral("Vestibor.ini"));
        QVERIFY(ini.contains("[PlanRevizi]\r\nVlevo="));
        QVERIFY(ini.contains("Sirka=900\r\nVyska=500\r\nSirkySloupcu=80,44,222,"));
        plan = again.plan();
        QCOMPARE(plan->size(), QSize(900, 500));
        QCOMPARE(plan->grid()->columnWidth(PlanModel::Customer), 222);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestPlanWindow)
#include "tst_planwindow.moc"
