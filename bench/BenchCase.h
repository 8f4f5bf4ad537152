#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>

// One measured case: run() does the measured thing once and returns how long it took in
// milliseconds. prepare() and finish() run once around all repetitions, outside the time.
struct BenchCase
{
    QString name;
    double targetMs = 0; // 0: no target, only reported
    int repetitions = 5;
    std::function<double()> run;
    std::function<void()> prepare;
    std::function<void()> finish;
};

struct BenchResult
{
    QString name;
    double medianMs = 0;
    double maxMs = 0;
    double targetMs = 0;
    int repetitions = 0;
    bool ok() const { return targetMs <= 0 || medianMs <= targetMs; }
};

// Milliseconds that fn took.
template <typename Fn> double elapsedMs(Fn&& fn)
{
    QElapsedTimer timer;
    timer.start();
    fn();
    return double(timer.nsecsElapsed()) / 1e6;
}

BenchResult runCase(const BenchCase& c);
// The table of results: case, median, max, target, OK or SLOW (judged by the median).
QString resultTable(const QList<BenchResult>& results);
