#pragma once

#include "BenchCase.h"

struct BenchEnv;

// The revision plan: its rows for the default filter and the overdue count.
QList<BenchCase> planCases(BenchEnv& env);
