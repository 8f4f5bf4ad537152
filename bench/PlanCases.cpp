#include "PlanCases.h"

#include "BenchCases.h"

#include "app/Hlavni_f.h"
#include "plan/PlanModel.h"
#include "plan/PlanQuery.h"
#include "plan/PlanRevizi_f.h"
#include "store/ColumnKind.h"
#include "uikit/AppContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

namespace {

using Window = std::shared_ptr<std::shared_ptr<THlavni>>;

// The plan window as the user opens it (watched customers, the default days ahead), drawn.
TPlanRevizi* openPlan(THlavni& w)
{
    TPlanRevizi* plan = w.openPlan(false);
    QApplication::processEvents();
    return plan;
}

void closePlan(TPlanRevizi* plan)
{
    delete plan;
    QApplication::processEvents();
}

BenchCase planOpens(BenchEnv& env, Window window)
{
    BenchCase c;
    c.name = QStringLiteral("Plan window opens (watched customers, 30 days)");
    c.targetMs = 300;
    c.repetitions = 10;
    c.prepare = [&env, window] { *window = mainWindow(env); };
    c.run = [window] {
        TPlanRevizi* plan = nullptr;
        const double ms = elapsedMs([&] { plan = openPlan(**window); });
        closePlan(plan);
        return ms;
    };
    return c;
}

// A change of one filter and the grid drawn again; each run changes it back and forth.
BenchCase filterChange(const QString& name, Window window, std::function<void(TPlanRevizi&)> change)
{
    BenchCase c;
    c.name = name;
    c.targetMs = 150;
    c.repetitions = 20;
    auto plan = std::make_shared<TPlanRevizi*>(nullptr);
    c.prepare = [window, plan] { *plan = openPlan(**window); };
    c.run = [plan, change] {
        return elapsedMs([&] {
            change(**plan);
            QApplication::processEvents();
        });
    };
    c.finish = [plan] { closePlan(*plan); };
    return c;
}

BenchCase openFromPlan(Window window)
{
    BenchCase c;
    c.name = QStringLiteral("Open a customer on a card from the plan");
    c.targetMs = 150;
    c.repetitions = 10;
    auto plan = std::make_shared<TPlanRevizi*>(nullptr);
    c.prepare = [window, plan] { *plan = openPlan(**window); };
    c.run = [window, plan] {
        THlavni& w = **window;
        PlanModel* model = (*plan)->model();
        static int next = 0;
        const int row = (next += 97) % std::max(1, model->rowCount());
        const int customer = model->value(row, QStringLiteral("id_zakaznika")).toInt();
        const int card = model->value(row, QStringLiteral("id_topneho_zdroje")).toInt();
        const double ms = elapsedMs([&] {
            w.openCardFromPlan(customer, card);
            QApplication::processEvents();
        });
        w.ZavritZakaznika();
        return ms;
    };
    c.finish = [plan] { closePlan(*plan); };
    return c;
}

} // namespace

QList<BenchCase> planCases(BenchEnv& env)
{
    auto window = std::make_shared<std::shared_ptr<THlavni>>();
    const QDate today = QDate::currentDate();
    BenchCase count;
    count.name = QStringLiteral("Overdue count of the plan");
    count.targetMs = 50;
    count.repetitions = 10;
    count.run = [&env, today] { return elapsedMs([&] { PlanQuery::overdueCount(env.context.connection, today); }); };

    const auto toggle = [](const char* name) {
        return [name](TPlanRevizi& plan) {
            auto* box = plan.findChild<QCheckBox*>(QString::fromLatin1(name));
            box->setChecked(!box->isChecked());
        };
    };
    const auto typeFilter = [](TPlanRevizi& plan) {
        auto* edit = plan.findChild<QLineEdit*>(QStringLiteral("Ed_Filtr"));
        edit->setText(edit->text().isEmpty() ? QStringLiteral("brno") : QString());
    };
    // Each run moves the day a week later, past what was read: the week's cards are read.
    const auto laterDay = [](TPlanRevizi& plan) {
        auto* until = plan.findChild<QLineEdit*>(QStringLiteral("Ed_RevizeDo"));
        until->setText(FieldValues::dateText(plan.filter().until.addDays(7)));
        emit until->editingFinished();
    };
    const auto sortByCustomer = [](TPlanRevizi& plan) { plan.model()->sort(PlanModel::Zakaznik); };
    return {planOpens(env, window),
            filterChange(QStringLiteral("Plan filter: watched customers on/off"), window, toggle("CB_JenHlidane")),
            filterChange(QStringLiteral("Plan filter: sources without revision on/off"), window, toggle("CB_BezRevize")),
            filterChange(QStringLiteral("Plan filter: text typed/cleared"), window, typeFilter),
            filterChange(QStringLiteral("Plan filter: revisions a week further ahead"), window, laterDay),
            filterChange(QStringLiteral("Plan sorted by customer"), window, sortByCustomer),
            openFromPlan(window),
            count};
}
