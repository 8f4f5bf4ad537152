#pragma once

#include "BenchCase.h"

#include <memory>

class AppContext;
class Connection;
class THlavni;
class WorkDatabase;

// What the cases work on: the program's run state over a copy of the measured database,
// the program directory (also for the files they write) and that copy.
struct BenchEnv
{
    AppContext& context;
    QString workDir;
    WorkDatabase& database;
};

// The main window that cases share, over the copied database; the first that needs it
// starts it (shown and drawn, with the password gate and the save question off).
using SharedWindow = std::shared_ptr<std::shared_ptr<THlavni>>;
THlavni& mainWindow(const BenchEnv& env, const SharedWindow& window);

// Fills the activity-kind code list up to count rows, so that its window has a long list.
void fillActivityKinds(Connection& connection, int count);

// The register and the sorts of customers are measured on this many: the generated ones and
// as many more as needed, made from them for the time of each case.
constexpr int measuredCustomers = 20000;
// Makes the case run on the measured customers: its prepare first adds the missing ones
// (copies of the first generated, named "… (pobočka)") and its finish then removes them.
// Returns how many customers the case sees.
int onMeasuredCustomers(BenchEnv& env, BenchCase& c);

// A window reads what it shows with a few statements, never one for each row: on the server
// each is a trip over the network. Opening a customer and moving to another card have
// limits of their own.
constexpr int windowStatementLimit = 2;

// Every measured case, in the order they run. Add a new measurement here.
QList<BenchCase> benchCases(BenchEnv& env);
