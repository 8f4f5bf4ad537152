#pragma once

#include "BenchCase.h"

struct BenchEnv;

// The customer register: opening it in each sort order, and importing the customers from
// the register's own export.
QList<BenchCase> registerCases(BenchEnv& env);
