#pragma once

#include "BenchCase.h"

class AppContext;
class Connection;

// What the cases work on: the program's run state over a copy of the measured database,
// and a directory for the files they write.
struct BenchEnv
{
    AppContext& context;
    QString workDir;
};

// Fills the activity-kind code list up to count rows, so that its window has a long list.
void fillActivityKinds(Connection& connection, int count);

// Every measured case, in the order they run. Add a new measurement here.
QList<BenchCase> benchCases(BenchEnv& env);
