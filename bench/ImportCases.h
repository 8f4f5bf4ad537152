#pragma once

#include "BenchCase.h"

struct BenchEnv;

// The customer import of files written for the measurement, of a fixed size whatever the
// measured database holds.
QList<BenchCase> importCases(BenchEnv& env);

// Imports the customer file into a new, empty database in the work directory and returns
// how long the import took in milliseconds.
double importIntoEmptyDatabase(const BenchEnv& env, const QString& file);
