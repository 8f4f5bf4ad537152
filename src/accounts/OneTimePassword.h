#pragma once

#include <QString>

// A password the office hands to a technician, to be changed at the first sign-in.
namespace OneTimePassword {

constexpr int Length = 12;

// Length characters drawn evenly at random from letters and digits that cannot be taken
// for one another when read aloud or copied from paper (no 0/O, 1/l/I).
QString make();

} // namespace OneTimePassword
