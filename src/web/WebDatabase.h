#pragma once

#include <QtGlobal>

#include <atomic>
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
    // Held around a write transaction: on the database file the writers take turns. When
    // the turn ends, the file's log of writes is carried into the file at most once a
    // second, by the writer whose turn ended, outside the turn: the writes after it do not
    // wait for it, as they would when a commit carried it in itself.
    class Turn
    {
    public:
        explicit Turn(WebDatabase* file) : m_file(file)
        {
            if (m_file)
                m_file->m_writeMutex.lock();
        }
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        WebDatabase* m_file;
    };
    Turn writeTurn();
    static constexpr int CheckpointEveryMs = 1000;

private:
    std::function<void(Connection&)> m_open;
    std::mutex m_connectionsMutex;
    std::map<std::thread::id, std::unique_ptr<Connection>> m_connections;
    std::mutex m_writeMutex;
    std::atomic<qint64> m_lastCheckpointMs{0};
};
