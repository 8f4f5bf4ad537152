#include "support/TestServerDatabase.h"

#include "helpers/AppError.h"
#include "store/ServerDatabase.h"

#include <QCoreApplication>

namespace {

int& counter()
{
    static int n = 0;
    return n;
}

} // namespace

TestServerDatabase::TestServerDatabase()
{
    m_base = qEnvironmentVariable("VESTIBOR_TEST_SERVER");
    if (m_base.isEmpty()) {
        m_error =
            QStringLiteral("VESTIBOR_TEST_SERVER is not set: run the tests through scripts/test.sh, which "
                           "starts the test server");
        return;
    }
    m_name = QStringLiteral("vestibor_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter());
    m_connectionName = m_name;
    try {
        ServerDatabase::administer(m_base, QStringLiteral("CREATE DATABASE ") + m_name);
        m_db = ServerDatabase::connect(connectionString(), m_connectionName);
    } catch (const AppError& e) {
        m_error = QStringLiteral("the test server at „%1“: %2").arg(m_base, e.text());
    }
}

TestServerDatabase::~TestServerDatabase()
{
    if (m_name.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    try {
        ServerDatabase::administer(m_base,
                                   QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    } catch (const AppError&) {
        // The throwaway server goes with its folder anyway.
    }
}

QString TestServerDatabase::connectionString() const
{
    return m_base + QStringLiteral(" dbname=") + m_name;
}
