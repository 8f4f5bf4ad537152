#pragma once

#include <QString>
#include <cstddef>

// Password hashes as libsodium's argon2id strings ("$argon2id$v=19$m=65536,t=3,p=1$…"), which
// carry their own salt and parameters. A hash takes 64 MiB and some tens of milliseconds on
// purpose: at most two run at a time in the whole program, the others wait their turn.
class PasswordHasher
{
public:
    static constexpr unsigned long long DefaultPasses = 3;
    static constexpr std::size_t DefaultMemory = 64u * 1024u * 1024u;

    explicit PasswordHasher(unsigned long long passes = DefaultPasses, std::size_t memory = DefaultMemory);

    // Throws AppError when the memory for it cannot be had.
    QString hash(const QString& password) const;
    // False for a wrong password and for a stored text that is no hash.
    bool verify(const QString& stored, const QString& password) const;
    // The hash was made with other parameters than this hasher's: make it anew at the next
    // sign-in, when the password is at hand.
    bool needsRehash(const QString& stored) const;

private:
    unsigned long long m_passes;
    std::size_t m_memory;
};
