#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

#include <mutex>

// Failed sign-ins counted per account and per address: after five failures each further
// try waits, the wait doubling with each failure up to fifteen minutes. Kept in memory.
class SignInThrottle
{
public:
    static constexpr int FreeFailures = 5;
    static constexpr qint64 FirstWaitSeconds = 60;
    static constexpr qint64 LongestWaitSeconds = 15 * 60;

    // How many seconds the key must still wait before its next try; 0 when it may try.
    qint64 secondsToWait(const QString& key, const QDateTime& now);
    // Counts a failure; true when the key must wait from now on.
    bool failed(const QString& key, const QDateTime& now);
    void succeeded(const QString& key);

private:
    struct Failures
    {
        int count = 0;
        QDateTime waitUntil;
        QDateTime last;
    };
    void forgetOld(const QDateTime& now);

    std::mutex m_mutex;
    QHash<QString, Failures> m_failures;
};
