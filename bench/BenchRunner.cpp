#include "BenchCase.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

BenchResult runCase(const BenchCase& c)
{
    if (c.prepare)
        c.prepare();
    std::vector<double> times;
    std::vector<double> beforeDrawing;
    std::vector<qint64> statements;
    times.reserve(c.repetitions);
    statements.reserve(c.repetitions);
    for (int i = 0; i < c.repetitions; ++i) {
        const Sample sample = c.run();
        times.push_back(sample.ms);
        beforeDrawing.push_back(sample.beforeDrawingMs);
        statements.push_back(sample.statements);
    }
    std::vector<double> inRow;
    for (int i = 0; c.runInRow && i < c.repetitions; ++i) {
        inRow.push_back(c.runInRow());
        if (i % 50 == 49)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    if (c.finish)
        c.finish();

    BenchResult result;
    result.name = c.name;
    result.targetMs = c.targetMs;
    result.statementLimit = c.statementLimit;
    result.floorFactor = c.floorFactor;
    result.withinFactor = c.withinFactor;
    result.repetitions = c.repetitions;
    if (times.empty())
        return result;
    result.medianMs = median(times);
    result.maxMs = *std::max_element(times.begin(), times.end());
    result.beforeDrawingMs = median(beforeDrawing);
    result.inRowMs = inRow.empty() ? -1 : median(inRow);
    result.statements = median(statements);
    result.maxStatements = *std::max_element(statements.begin(), statements.end());
    return result;
}

void compareWithCasesBefore(QList<BenchResult>& results)
{
    for (int i = 1; i < results.size(); ++i) {
        const BenchResult& above = results[i - 1];
        if (results[i].withinFactor > 0 && above.medianMs > 0)
            results[i].ofCaseBefore = results[i].medianMs / above.medianMs;
        BenchResult& floor = results[i];
        if (floor.floorFactor <= 0 || floor.medianMs <= 0)
            continue;
        floor.drawnAboveFloor = above.medianMs / floor.medianMs;
        floor.beforeDrawingAboveFloor =
            (above.beforeDrawingMs >= 0 ? above.beforeDrawingMs : above.medianMs) / floor.medianMs;
        floor.aboveFloor =
            above.inRowMs >= 0 ? above.inRowMs / floor.medianMs : floor.beforeDrawingAboveFloor;
    }
}

namespace {

QString milliseconds(double ms)
{
    return ms < 0 ? QStringLiteral("-") : QString::number(ms, 'f', ms < 10 ? 2 : 1);
}

QString statementsText(const BenchResult& r)
{
    if (r.statements < 0)
        return QStringLiteral("-");
    QString text = QString::number(r.statements);
    if (r.maxStatements != r.statements)
        text += QStringLiteral(" (max %1)").arg(r.maxStatements);
    return text;
}

QString verdict(const BenchResult& r)
{
    QStringList faults;
    if (!r.fastEnough())
        faults << QStringLiteral("SLOW");
    if (!r.fewEnoughStatements())
        faults << QStringLiteral("TOO MANY STATEMENTS");
    if (!r.closeEnoughToFloor())
        faults << QStringLiteral("TOO FAR ABOVE ITS FLOOR");
    if (!r.closeEnoughToCaseBefore())
        faults << QStringLiteral("TOO SLOW AGAINST THE CASE ABOVE");
    const bool checked = r.targetMs > 0 || r.statementLimit >= 0 || r.floorFactor > 0 || r.withinFactor > 0;
    QString text = !checked           ? QStringLiteral("-")
                   : faults.isEmpty() ? QStringLiteral("OK")
                                      : faults.join(QStringLiteral(", "));
    if (r.floorFactor > 0)
        text = QStringLiteral("case above: %1x this in a row (<= %2x), %3x before drawing, %4x drawn; ")
                   .arg(QString::number(r.aboveFloor, 'f', 1), QString::number(r.floorFactor),
                        QString::number(r.beforeDrawingAboveFloor, 'f', 1),
                        QString::number(r.drawnAboveFloor, 'f', 1)) +
               text;
    if (r.withinFactor > 0)
        text = QStringLiteral("%1x the case above (<= %2x); ")
                   .arg(QString::number(r.ofCaseBefore, 'f', 2), QString::number(r.withinFactor)) +
               text;
    return text;
}

} // namespace

QString resultTable(const QList<BenchResult>& results)
{
    int nameWidth = 4;
    for (const BenchResult& r : results)
        nameWidth = std::max(nameWidth, int(r.name.size()));
    // Name, then right-aligned columns of these widths, then the verdict.
    const int widths[] = {5, 10, 15, 10, 10, 14, 6};
    const auto line = [&](const QString& name, const QStringList& columns, const QString& last) {
        QString text = name.leftJustified(nameWidth);
        for (int i = 0; i < columns.size(); ++i)
            text += QStringLiteral("  ") + columns[i].rightJustified(widths[i]);
        return text + QStringLiteral("  ") + last + u'\n';
    };
    QString text = line(QStringLiteral("case"),
                        {QStringLiteral("runs"), QStringLiteral("median ms"),
                         QStringLiteral("before drawing"), QStringLiteral("max ms"),
                         QStringLiteral("target ms"), QStringLiteral("statements"), QStringLiteral("limit")},
                        QStringLiteral("result"));
    text += QString(text.size() - 1, u'-') + u'\n';
    for (const BenchResult& r : results)
        text +=
            line(r.name,
                 {QString::number(r.repetitions), milliseconds(r.medianMs), milliseconds(r.beforeDrawingMs),
                  milliseconds(r.maxMs),
                  r.targetMs > 0 ? QStringLiteral("< ") + QString::number(r.targetMs) : QStringLiteral("-"),
                  statementsText(r),
                  r.statementLimit >= 0 ? QStringLiteral("<= ") + QString::number(r.statementLimit)
                                        : QStringLiteral("-")},
                 verdict(r));
    return text;
}
