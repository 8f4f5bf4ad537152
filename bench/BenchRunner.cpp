#include "BenchCase.h"

#include <algorithm>
#include <vector>

BenchResult runCase(const BenchCase& c)
{
    if (c.prepare)
        c.prepare();
    std::vector<double> times;
    times.reserve(c.repetitions);
    for (int i = 0; i < c.repetitions; ++i)
        times.push_back(c.run());
    if (c.finish)
        c.finish();

    BenchResult result;
    result.name = c.name;
    result.targetMs = c.targetMs;
    result.repetitions = c.repetitions;
    if (times.empty())
        return result;
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    result.medianMs = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    result.maxMs = times.back();
    return result;
}

QString resultTable(const QList<BenchResult>& results)
{
    int nameWidth = 4;
    for (const BenchResult& r : results)
        nameWidth = std::max(nameWidth, int(r.name.size()));
    const auto number = [](double ms) { return QString::number(ms, 'f', ms < 10 ? 2 : 1); };
    const auto line = [&](const QString& name, const QString& runs, const QString& median, const QString& max,
                          const QString& target, const QString& verdict) {
        return name.leftJustified(nameWidth) + QStringLiteral("  ") + runs.rightJustified(5) +
               QStringLiteral("  ") + median.rightJustified(10) + QStringLiteral("  ") +
               max.rightJustified(10) + QStringLiteral("  ") + target.rightJustified(10) +
               QStringLiteral("  ") + verdict + u'\n';
    };
    QString text = line(QStringLiteral("case"), QStringLiteral("runs"), QStringLiteral("median ms"),
                        QStringLiteral("max ms"), QStringLiteral("target ms"), QStringLiteral("result"));
    text += QString(nameWidth + 53, u'-') + u'\n';
    for (const BenchResult& r : results) {
        const bool hasTarget = r.targetMs > 0;
        text +=
            line(r.name, QString::number(r.repetitions), number(r.medianMs), number(r.maxMs),
                 hasTarget ? QStringLiteral("< ") + QString::number(r.targetMs) : QStringLiteral("-"),
                 hasTarget ? (r.ok() ? QStringLiteral("OK") : QStringLiteral("SLOW")) : QStringLiteral("-"));
    }
    return text;
}
