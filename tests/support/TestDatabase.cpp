#include "support/TestDatabase.h"

#include "store/Connection.h"
#include "store/Errors.h"
#include "store/ServerDatabase.h"

TestEngine& currentTestEngine()
{
    static TestEngine engine = TestEngine::File;
    return engine;
}

TestDatabase::TestDatabase()
{
    if (currentTestEngine() != TestEngine::Server)
        return;
    m_server = std::make_unique<TestServerDatabase>();
    if (m_server->ok())
        ServerDatabase::createSchema(m_server->db());
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::error() const
{
    return m_server ? m_server->error() : QString();
}

void TestDatabase::open(Connection& connection) const
{
    if (m_server)
        connection.openServer(m_server->connectionString());
    else
        connection.open(m_dir.path(QStringLiteral("Vestibor.mdb")));
}
