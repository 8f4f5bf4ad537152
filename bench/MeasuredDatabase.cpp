#include "MeasuredDatabase.h"

#include "helpers/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

MeasuredDatabase::MeasuredDatabase(CommandLine& commandLine)
    : m_server(
          commandLine.addOption(QStringLiteral("server"),
                                QStringLiteral("Measures on the server database of this connection string."),
                                QStringLiteral("connection string")))
{
    commandLine.addArgument(QStringLiteral("database"),
                            QStringLiteral("The database file made by vestibor_gendb (without --server)."),
                            QStringLiteral("[database]"));
}

QString MeasuredDatabase::problem(const QCommandLineParser& parser) const
{
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(m_server))
        return files.isEmpty() ? QString() : QStringLiteral("a database file and --server together");
    if (files.size() != 1)
        return QStringLiteral("one database file is needed");
    return QFileInfo(files.first()).isFile() ? QString() : QStringLiteral("%1 is no file").arg(files.first());
}

bool MeasuredDatabase::onServer(const QCommandLineParser& parser) const
{
    return parser.isSet(m_server);
}

std::unique_ptr<WorkDatabase> MeasuredDatabase::copy(const QCommandLineParser& parser,
                                                     const QString& programDirectory) const
{
    return onServer(parser) ? copyOnServer(parser.value(m_server))
                            : copyOfFile(parser.positionalArguments().first(), programDirectory);
}
