#pragma once

#include <QDateTime>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// Something read from the database that changes seldom and may be a few seconds old where it
// is used: kept, and read again by the request that finds it older than that (or read for
// another key) while the others go on with the one before. Before the first is read, the
// others wait for it rather than each read its own.
template <typename Value> class KeptForSeconds
{
public:
    explicit KeptForSeconds(int seconds) : m_seconds(seconds) {}

    std::shared_ptr<const Value> get(const QDateTime& now, const QString& key,
                                     const std::function<Value()>& read)
    {
        std::unique_lock lock(m_mutex);
        m_readingDone.wait(lock, [&] { return m_kept || !m_reading; });
        const bool fresh = m_kept && m_key == key && m_read <= now && m_read.secsTo(now) < m_seconds;
        if (fresh || (m_reading && m_key == key))
            return m_kept;
        m_reading = true;
        lock.unlock();
        std::shared_ptr<const Value> value;
        try {
            value = std::make_shared<const Value>(read());
        } catch (...) {
            lock.lock();
            m_reading = false;
            m_readingDone.notify_all();
            throw;
        }
        lock.lock();
        m_kept = value;
        m_key = key;
        m_read = now;
        m_reading = false;
        m_readingDone.notify_all();
        return value;
    }

private:
    const int m_seconds;
    std::mutex m_mutex;
    std::condition_variable m_readingDone;
    std::shared_ptr<const Value> m_kept;
    QString m_key;
    QDateTime m_read;
    bool m_reading = false;
};
