#include "WorkDatabase.h"

#include "helpers/AppError.h"
#include "helpers/DatabaseSettings.h"
#include "helpers/IniFile.h"
#include "store/Connection.h"
#include "store/ServerDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>

namespace {

QString identifier(QString name)
{
    return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The measured server database is copied by the server itself (CREATE DATABASE … TEMPLATE):
// the copy has every row, sequence and index, and is dropped at the end, so each run starts
// from the same data whatever the cases wrote. The imports go into empty databases of
// their own, made and dropped the same way.
class ServerCopy : public WorkDatabase
{
public:
    explicit ServerCopy(const QString& connectionString) : m_base(connectionString)
    {
        const QMap<QString, QString> parts = ServerDatabase::parseConnectionString(connectionString);
        m_source = parts.value(QStringLiteral("dbname"));
        if (m_source.isEmpty())
            throw AppError(QStringLiteral("the connection string names no database (dbname=...)"));
        // The program takes the password the ways of the server's own tools, never from its settings.
        if (parts.contains(QStringLiteral("password")))
            qputenv("PGPASSWORD", parts.value(QStringLiteral("password")).toUtf8());
        m_settings.server = true;
        m_settings.Server = parts.value(QStringLiteral("host"));
        m_settings.Port = parts.value(QStringLiteral("port"), QStringLiteral("5432")).toInt();
        m_settings.Uzivatel = parts.value(QStringLiteral("user"));
        m_copy = QStringLiteral("%1_bench_%2").arg(m_source).arg(QCoreApplication::applicationPid());
        m_empty = m_copy + QStringLiteral("_import");
        ServerDatabase::administer(
            m_base,
            QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(identifier(m_copy), identifier(m_source)));
    }
    ~ServerCopy() override
    {
        for (const QString& name : {m_emptyMade ? m_empty : QString(), m_copy}) {
            try {
                if (!name.isEmpty())
                    drop(name);
            } catch (const AppError&) {
                // Left for the administrator; the name says where it came from.
            }
        }
    }

    QString description() const override
    {
        return QStringLiteral("a copy of %1 on the server %2").arg(m_source, m_settings.shownName());
    }
    void open(Connection& connection) const override
    {
        connection.openServer(settingsOf(m_copy).connectionString());
    }
    void pointProgramAt(const QString& programDirectory) const override
    {
        const DatabaseSettings s = settingsOf(m_copy);
        IniFile(QDir(programDirectory).filePath(QStringLiteral("Vestibor.ini")))
            .write(QStringLiteral("databaze"), {{QStringLiteral("Typ"), QStringLiteral("server")},
                                                {QStringLiteral("Server"), s.Server},
                                                {QStringLiteral("Port"), QString::number(s.Port)},
                                                {QStringLiteral("Databaze"), s.Databaze},
                                                {QStringLiteral("Uzivatel"), s.Uzivatel}});
    }
    void openEmpty(Connection& connection) override
    {
        connection.close();
        if (m_emptyMade)
            drop(m_empty);
        m_emptyMade = true;
        ServerDatabase::administer(m_base, QStringLiteral("CREATE DATABASE ") + identifier(m_empty));
        const QString connectionString = settingsOf(m_empty).connectionString();
        const QString name = QStringLiteral("bench-schema");
        {
            QSqlDatabase server = ServerDatabase::connect(connectionString, name);
            ServerDatabase::createSchema(server);
        }
        QSqlDatabase::removeDatabase(name);
        connection.openServer(connectionString);
    }

private:
    DatabaseSettings settingsOf(const QString& database) const
    {
        DatabaseSettings s = m_settings;
        s.Databaze = database;
        return s;
    }
    void drop(const QString& name) const
    {
        ServerDatabase::administer(m_base,
                                   QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(identifier(name)));
    }

    QString m_base;
    QString m_source;
    QString m_copy;
    QString m_empty;
    bool m_emptyMade = false;
    DatabaseSettings m_settings;
};

} // namespace

std::unique_ptr<WorkDatabase> copyOnServer(const QString& connectionString)
{
    return std::make_unique<ServerCopy>(connectionString);
}
