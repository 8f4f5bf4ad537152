#include "web/WebDatabase.h"

#include "store/Connection.h"

#include <atomic>
#include <chrono>

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("vestibor-web-%1").arg(++counter);
}

} // namespace

WebDatabase::WebDatabase(std::function<void(Connection&)> open) : m_open(std::move(open)) {}

WebDatabase::~WebDatabase() = default;

Connection& WebDatabase::connection()
{
    const std::thread::id thread = std::this_thread::get_id();
    {
        std::lock_guard lock(m_connectionsMutex);
        const auto found = m_connections.find(thread);
        if (found != m_connections.end())
            return *found->second;
    }
    // Opened outside the lock: connecting to a server that is slow to answer holds up
    // no other thread.
    auto connection = std::make_unique<Connection>(nextConnectionName());
    m_open(*connection);
    // The desktop's large page cache would take up to 32 times as much here, one for each
    // serving thread: the file stays in the system's cache for all of them anyway.
    if (!connection->isServer()) {
        connection->execute(QStringLiteral("PRAGMA cache_size = -%1").arg(CacheKibibytes));
        // No commit carries the log into the file itself (see Turn).
        connection->execute(QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
    }
    std::lock_guard lock(m_connectionsMutex);
    Connection& ours = *connection;
    m_connections[thread] = std::move(connection);
    return ours;
}

void WebDatabase::forgetConnection()
{
    std::unique_ptr<Connection> gone;
    {
        std::lock_guard lock(m_connectionsMutex);
        const auto found = m_connections.find(std::this_thread::get_id());
        if (found == m_connections.end())
            return;
        gone = std::move(found->second);
        m_connections.erase(found);
    }
}

WebDatabase::Turn WebDatabase::writeTurn()
{
    return Turn(connection().isServer() ? nullptr : this);
}

WebDatabase::Turn::~Turn()
{
    if (!m_file)
        return;
    m_file->m_writeMutex.unlock();
    const qint64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    qint64 last = m_file->m_lastCheckpointMs.load();
    if (now - last < CheckpointEveryMs || !m_file->m_lastCheckpointMs.compare_exchange_strong(last, now))
        return;
    try {
        // Passive: it copies what is committed and waits for nobody.
        m_file->connection().query(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    } catch (const std::exception&) {
        // The next turn tries again; the log only grows meanwhile.
    }
}
