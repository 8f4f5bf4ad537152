#pragma once

// libsodium made ready once for the whole program; throws AppError when it cannot be.
namespace Sodium {
void init();
}
