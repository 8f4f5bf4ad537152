#pragma once

#include "BenchCase.h"

struct BenchEnv;

// Backups of the database file: one the user asks for, and the automatic one at the end of
// the program (a copy into a folder that already holds as many as it keeps).
QList<BenchCase> backupCases(BenchEnv& env);
