#pragma once

#include "BenchCase.h"

struct BenchEnv;

// The customer import of files written for the measurement, of a fixed size whatever the
// measured database holds.
QList<BenchCase> importCases(BenchEnv& env);

// Imports the customer file into a new, empty database beside the copy and returns how long
// the import took and its statements.
Sample importIntoEmptyDatabase(const BenchEnv& env, const QString& file);
