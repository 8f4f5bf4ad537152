#pragma once

#include "BenchCase.h"

struct BenchEnv;

// Working on a customer in the main window: opening the big customer, moving between its
// cards, finding a card by serial number, filtering the customers by town.
QList<BenchCase> customerCases(BenchEnv& env);
