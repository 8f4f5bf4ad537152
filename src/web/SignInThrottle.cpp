#include "web/SignInThrottle.h"

qint64 SignInThrottle::secondsToWait(const QString& key, const QDateTime& now)
{
    std::lock_guard lock(m_mutex);
    const auto found = m_failures.constFind(key);
    if (found == m_failures.constEnd() || !found->waitUntil.isValid() || found->waitUntil <= now)
        return 0;
    return std::max<qint64>(1, now.secsTo(found->waitUntil));
}

bool SignInThrottle::failed(const QString& key, const QDateTime& now)
{
    std::lock_guard lock(m_mutex);
    forgetOld(now);
    Failures& f = m_failures[key];
    ++f.count;
    f.last = now;
    if (f.count < FreeFailures)
        return false;
    const int doublings = std::min(f.count - FreeFailures, 10);
    f.waitUntil = now.addSecs(std::min(FirstWaitSeconds << doublings, LongestWaitSeconds));
    return true;
}

void SignInThrottle::succeeded(const QString& key)
{
    std::lock_guard lock(m_mutex);
    m_failures.remove(key);
}

void SignInThrottle::forgetOld(const QDateTime& now)
{
    // Many addresses trying once each must not fill the memory: what has been quiet for
    // longer than the longest wait is forgotten.
    if (m_failures.size() < 10000)
        return;
    for (auto it = m_failures.begin(); it != m_failures.end();) {
        if (it->last.secsTo(now) > LongestWaitSeconds && (!it->waitUntil.isValid() || it->waitUntil <= now))
            it = m_failures.erase(it);
        else
            ++it;
    }
}
