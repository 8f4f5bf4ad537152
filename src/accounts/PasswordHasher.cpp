#include "accounts/PasswordHasher.h"

#include "accounts/Sodium.h"
#include "helpers/AppError.h"

#include <QSemaphore>
#include <sodium.h>

namespace {

// Two hashes at once use 128 MiB; more would only wait for the processor anyway.
class HashSlot
{
public:
    HashSlot() { available().acquire(); }
    ~HashSlot() { available().release(); }
    HashSlot(const HashSlot&) = delete;
    HashSlot& operator=(const HashSlot&) = delete;

private:
    static QSemaphore& available()
    {
        static QSemaphore free(2);
        return free;
    }
};

} // namespace

PasswordHasher::PasswordHasher(unsigned long long passes, std::size_t memory)
    : m_passes(passes), m_memory(memory)
{
    Sodium::init();
}

QString PasswordHasher::hash(const QString& password) const
{
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    int result = 0;
    {
        const HashSlot slot;
        result = crypto_pwhash_str(out, utf8.constData(), quint64(utf8.size()), m_passes, m_memory);
    }
    if (result != 0)
        throw AppError(QStringLiteral("Na výpočet otisku hesla nezbývá paměť."));
    return QString::fromLatin1(out);
}

bool PasswordHasher::verify(const QString& stored, const QString& password) const
{
    const QByteArray hash = stored.toLatin1();
    if (hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray utf8 = password.toUtf8();
    const HashSlot slot;
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

bool PasswordHasher::needsRehash(const QString& stored) const
{
    const QByteArray hash = stored.toLatin1();
    return crypto_pwhash_str_needs_rehash(hash.constData(), m_passes, m_memory) != 0;
}
