#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class Connection;

// The database connections of the server: one for each thread that serves requests, made
// when the thread first needs it and made anew after a failure, so that the server serves
// again by itself once the database is back. On the database file one write runs at a time.
class WebDatabase
{
public:
    static constexpr int CacheKibibytes = 1024;

    explicit WebDatabase(std::function<void(Connection&)> open);
    ~WebDatabase();

    // This thread's connection, opened now when it has none. Throws DatabaseError.
    Connection& connection();
    // Drops this thread's connection after the database failed it.
    void forgetConnection();
    // Held around a write transaction: on the database file the writers take turns.
    std::unique_lock<std::mutex> writeTurn();

private:
    std::function<void(Connection&)> m_open;
    std::mutex m_connectionsMutex;
    std::map<std::thread::id, std::unique_ptr<Connection>> m_connections;
    std::mutex m_writeMutex;
};
