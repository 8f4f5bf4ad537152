#include "PlanCases.h"

#include "BenchCases.h"

#include "plan/PlanQuery.h"
#include "store/DataSet.h"
#include "uikit/AppContext.h"

namespace {

BenchCase planRows(BenchEnv& env, const QString& name, PlanFilter filter)
{
    BenchCase c;
    c.name = name;
    c.targetMs = 150;
    c.repetitions = 10;
    c.run = [&env, filter] {
        DataSet rows(env.context.connection, QStringLiteral("DS_Plan"));
        return elapsedMs([&] {
            rows.setCommandText(PlanQuery::sql(), PlanQuery::params(filter));
            rows.open();
        });
    };
    return c;
}

} // namespace

QList<BenchCase> planCases(BenchEnv& env)
{
    const QDate today = QDate::currentDate();
    BenchCase count;
    count.name = QStringLiteral("Overdue count of the inspection plan");
    count.targetMs = 50;
    count.repetitions = 10;
    count.run = [&env, today] { return elapsedMs([&] { PlanQuery::overdueCount(env.context.connection, today); }); };
    return {planRows(env, QStringLiteral("Plan rows, watched customers, 30 days"), {today, today.addDays(30), true, false}),
            planRows(env, QStringLiteral("Plan rows, every card in service"), {today, today.addDays(30), false, true}),
            count};
}
