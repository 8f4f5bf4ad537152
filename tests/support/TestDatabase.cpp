#include "support/TestDatabase.h"

#include "store/Connection.h"
#include "store/ServerDatabase.h"

#include <QMap>

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

QByteArray TestDatabase::serverSection() const
{
    if (!m_server)
        return {};
    const QMap<QString, QString> parts = ServerDatabase::parseConnectionString(m_server->connectionString());
    return QStringLiteral(
               "\r\n[databaze]\r\nTyp=server\r\nServer=%1\r\nPort=%2\r\nDatabaze=%3\r\nUzivatel=%4\r\n")
        .arg(parts.value(QStringLiteral("host")), parts.value(QStringLiteral("port")),
             parts.value(QStringLiteral("dbname")), parts.value(QStringLiteral("user")))
        .toUtf8();
}

void TestDatabase::writeIni(const QByteArray& content) const
{
    m_dir.writeIni(content + serverSection());
}

QByteArray TestDatabase::withoutServerSection(QByteArray ini) const
{
    const QByteArray section = serverSection();
    return section.isEmpty() ? ini : ini.replace(section, QByteArray());
}

void refuseWrites(Connection& connection, const QString& table, const QString& event, const QString& message,
                  const QString& condition)
{
    const QString name = QStringLiteral("odmitnout_") + table;
    if (!connection.isServer()) {
        connection.execute(
            QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN %4 BEGIN SELECT RAISE(ABORT, '%5'); END")
                .arg(name, event, table, condition, message));
        return;
    }
    const QString row = event == QLatin1String("DELETE") ? QStringLiteral("OLD") : QStringLiteral("NEW");
    connection.execute(
        QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                       "$body$BEGIN IF %2 THEN RAISE EXCEPTION '%3'; END IF; RETURN %4; END$body$")
            .arg(name, condition, message, row));
    connection.execute(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                           .arg(name, event, table));
}

void allowWrites(Connection& connection, const QString& table)
{
    const QString name = QStringLiteral("odmitnout_") + table;
    if (!connection.isServer()) {
        connection.execute(QStringLiteral("DROP TRIGGER ") + name);
        return;
    }
    connection.execute(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table));
    connection.execute(QStringLiteral("DROP FUNCTION %1()").arg(name));
}
