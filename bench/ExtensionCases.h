#pragma once

#include "BenchCase.h"

struct BenchEnv;

// The sort of the customers by name in the program and in another SQLite tool that loaded
// the program's extension vestibor_sqlite: the two run the same collation and should take
// about as long. None on the server.
QList<BenchCase> extensionCases(BenchEnv& env);
