#pragma once

#include "BenchCase.h"

#include <memory>

class AppContext;
class Connection;
class THlavni;

// What the cases work on: the program's run state over a copy of the measured database,
// and a directory for the files they write.
struct BenchEnv
{
    AppContext& context;
    QString workDir;
};

// The main window over the copied database, started, shown and drawn, with the password
// gate and the save question off.
std::shared_ptr<THlavni> mainWindow(const BenchEnv& env);

// Fills the activity-kind code list up to count rows, so that its window has a long list.
void fillActivityKinds(Connection& connection, int count);

// Every measured case, in the order they run. Add a new measurement here.
QList<BenchCase> benchCases(BenchEnv& env);
