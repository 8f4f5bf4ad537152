#include "accounts/OneTimePassword.h"

#include "accounts/Sodium.h"

#include <sodium.h>

namespace OneTimePassword {

QString make()
{
    static const QString alphabet = QStringLiteral("abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    Sodium::init();
    QString password;
    password.reserve(Length);
    for (int i = 0; i < Length; ++i)
        password += alphabet[int(randombytes_uniform(uint32_t(alphabet.size())))];
    return password;
}

} // namespace OneTimePassword
