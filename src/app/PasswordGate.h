#pragma once

#include <QString>

namespace Password {

// The gate at start-up: the file must exist, the prompt must be answered with the right
// password. Shows its own message on refusal (none when the prompt is cancelled).
bool runGate(const QString& passwordFile);

} // namespace Password
