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

BenchCase planOpens(BenchEnv& env, const SharedWindow& window)
{
    BenchCase c;
    c.name = QStringLiteral("Plan window opens (watched customers, 30 days)");
    c.targetMs = 150;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 10;
    c.prepare = [&env, window] { mainWindow(env, window); };
    c.run = [window] {
        TPlanRevizi* plan = nullptr;
        const Sample sample =
            measureDrawn((*window)->context().connection, [&] { plan = (*window)->openPlan(false); });
        closePlan(plan);
        return sample;
    };
    return c;
}

// A change of one filter and the grid drawn again; each run changes it back and forth.
BenchCase filterChange(BenchEnv& env, const QString& name, const SharedWindow& window,
                       std::function<void(TPlanRevizi&)> change, double targetMs = 150)
{
    BenchCase c;
    c.name = name;
    c.targetMs = targetMs;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 20;
    auto plan = std::make_shared<TPlanRevizi*>(nullptr);
    c.prepare = [&env, window, plan] { *plan = openPlan(mainWindow(env, window)); };
    c.run = [window, plan, change] {
        return measureDrawn((*window)->context().connection, [&] { change(**plan); });
    };
    c.finish = [plan] { closePlan(*plan); };
    return c;
}

BenchCase openFromPlan(BenchEnv& env, const SharedWindow& window)
{
    BenchCase c;
    c.name = QStringLiteral("Open a customer on a card from the plan");
    c.targetMs = 150;
    c.statementLimit = 4;
    c.repetitions = 10;
    auto plan = std::make_shared<TPlanRevizi*>(nullptr);
    c.prepare = [&env, window, plan] { *plan = openPlan(mainWindow(env, window)); };
    c.run = [window, plan] {
        THlavni& w = **window;
        PlanModel* model = (*plan)->model();
        static int next = 0;
        const int row = (next += 97) % std::max(1, model->rowCount());
        const int customer = model->value(row, QStringLiteral("id_zakaznika")).toInt();
        const int card = model->value(row, QStringLiteral("id_topneho_zdroje")).toInt();
        const Sample sample =
            measureDrawn(w.context().connection, [&] { w.openCardFromPlan(customer, card); });
        w.closeCustomer();
        return sample;
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
    count.targetMs = 5;
    count.repetitions = 10;
    count.run = [&env, today] {
        return measure(env.context.connection,
                       [&] { PlanQuery::overdueCount(env.context.connection, today); });
    };

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
    const auto sortByCustomer = [](TPlanRevizi& plan) { plan.model()->sort(PlanModel::Customer); };
    return {planOpens(env, window),
            filterChange(env, QStringLiteral("Plan filter: watched customers on/off"), window,
                         toggle("CB_JenHlidane")),
            filterChange(env, QStringLiteral("Plan filter: sources without revision on/off"), window,
                         toggle("CB_BezRevize")),
            filterChange(env, QStringLiteral("Plan filter: text typed/cleared"), window, typeFilter),
            filterChange(env, QStringLiteral("Plan filter: revisions a week further ahead"), window, laterDay,
                         50),
            filterChange(env, QStringLiteral("Plan sorted by customer"), window, sortByCustomer),
            openFromPlan(env, window),
            count};
}
