#include "accounts/Sodium.h"

#include "helpers/AppError.h"

#include <sodium.h>

namespace Sodium {

void init()
{
    static const bool ready = sodium_init() >= 0; // safe to call from any thread
    if (!ready)
        throw AppError(QStringLiteral("Knihovnu pro hesla (libsodium) nelze spustit."));
}

} // namespace Sodium
