#include "web/WebDatabase.h"

#include "store/Connection.h"

#include <atomic>

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
    if (!connection->isServer())
        connection->execute(QStringLiteral("PRAGMA cache_size = -%1").arg(CacheKibibytes));
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

std::unique_lock<std::mutex> WebDatabase::writeTurn()
{
    if (connection().isServer())
        return {};
    return std::unique_lock(m_writeMutex);
}
