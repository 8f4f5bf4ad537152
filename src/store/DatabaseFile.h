#pragma once

#include <QString>

#include <functional>
#include <optional>

// Checks of a database file before the program takes it as its own: a backup it has just
// written, a backup the user wants to restore.
namespace DatabaseFile {

// Why the file cannot serve as the program's database: empty, not a database, another
// program's (the program's tables are missing), or damaged. Nothing when it can. An older
// version's database (a column missing) passes: the start-up upgrade completes it.
std::optional<QString> whyNotProgramDatabase(const QString& path, const std::function<void()>& working = {});

// How thoroughly a file is checked: every page, row and index entry with the program's
// collations, or only the pages and rows (a fifth of the time; for the copy SQLite has just
// handed over, when the program ends).
enum class Check
{
    Full,
    Quick
};

// What SQLite's integrity check finds wrong in the file; nothing when all is well.
// working, when given, is called now and then meanwhile.
std::optional<QString> damage(const QString& path, const std::function<void()>& working = {},
                              Check check = Check::Full);

} // namespace DatabaseFile
