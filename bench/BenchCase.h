#pragma once

#include "store/Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <ctime>
#include <functional>

// One run of a case: how long it took in milliseconds and how many statements it sent to
// the database (-1 when it sends none worth counting); for an action in a window also how
// long it took before the window was drawn (-1 when not told apart).
struct Sample
{
    double ms = 0;
    qint64 statements = -1;
    double beforeDrawingMs = -1;
};

// One measured case: run() does the measured thing once. prepare() and finish() run once
// around all repetitions, outside the time.
struct BenchCase
{
    QString name;
    double targetMs = 0;     // 0: no target, only reported
    int statementLimit = -1; // -1: no limit, only reported
    // A raw case (the floor under the case before it): how many times its time that case
    // may take; 0 for the other cases.
    double floorFactor = 0;
    // A case that does what the case before it does another way: how many times that case's
    // time it may take; 0 for the other cases.
    double withinFactor = 0;
    int repetitions = 5;
    std::function<Sample()> run;
    // For a case with a raw floor under it: the same action timed as the floor is, run after
    // run with the window drawn only between batches, so that both are compared on equal
    // terms (drawing in between slows the action's own work too). Optional.
    std::function<double()> runInRow;
    std::function<void()> prepare;
    std::function<void()> finish;

    // Runs only with the case before it, as it is compared with that one.
    bool followsCaseBefore() const { return floorFactor > 0 || withinFactor > 0; }
};

struct BenchResult
{
    QString name;
    double medianMs = 0;
    double maxMs = 0;
    double beforeDrawingMs = -1; // median
    double inRowMs = -1;         // median of runInRow
    double targetMs = 0;
    int repetitions = 0;
    qint64 statements = -1;    // median of the runs
    qint64 maxStatements = -1; // the most one run sent (the first one prepares on the server)
    int statementLimit = -1;
    double floorFactor = 0;
    double withinFactor = 0;
    double ofCaseBefore = 0; // a case with withinFactor: its time over the case before's
    // A raw case: how many times its time the case before it took in a row (or before drawing,
    // or in all, as far as told apart), before drawing, and in all.
    double aboveFloor = 0;
    double beforeDrawingAboveFloor = 0;
    double drawnAboveFloor = 0;
    bool fastEnough() const { return targetMs <= 0 || medianMs <= targetMs; }
    bool fewEnoughStatements() const { return statementLimit < 0 || statements <= statementLimit; }
    bool closeEnoughToFloor() const { return floorFactor <= 0 || aboveFloor <= floorFactor; }
    bool closeEnoughToCaseBefore() const { return withinFactor <= 0 || ofCaseBefore <= withinFactor; }
    bool ok() const
    {
        return fastEnough() && fewEnoughStatements() && closeEnoughToFloor() && closeEnoughToCaseBefore();
    }
};

// Milliseconds that fn took.
template <typename Fn> double elapsedMs(Fn&& fn)
{
    QElapsedTimer timer;
    timer.start();
    fn();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Milliseconds of processor time that fn took on this thread: for work that does not wait,
// compared between two cases on a machine busy with other work too.
template <typename Fn> double threadCpuMs(Fn&& fn)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    fn();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
}

// The time fn took and the statements it ran on the connection.
template <typename Fn> Sample measure(const Connection& connection, Fn&& fn)
{
    const qint64 before = connection.statementCount();
    const double ms = elapsedMs(std::forward<Fn>(fn));
    return {ms, connection.statementCount() - before};
}

// The same for an action in a window, which is then drawn: the events it left behind
// (layout, painting) are processed within the time, and the time before them is kept too.
template <typename Fn> Sample measureDrawn(const Connection& connection, Fn&& action)
{
    QElapsedTimer timer;
    const qint64 before = connection.statementCount();
    timer.start();
    action();
    const double beforeDrawing = double(timer.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    return {double(timer.nsecsElapsed()) / 1e6, connection.statementCount() - before, beforeDrawing};
}

BenchResult runCase(const BenchCase& c);
// Puts into each raw case how far above it the case before it is, and into each case with a
// withinFactor how its time compares with the case before.
void compareWithCasesBefore(QList<BenchResult>& results);
// The table of results: case, runs, median, max, target, statements and their limit, and
// OK or what is wrong (judged by the medians).
QString resultTable(const QList<BenchResult>& results);
