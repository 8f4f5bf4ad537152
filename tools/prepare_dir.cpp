// Prepares a program directory:  vestibor_prepare <directory> [<shipped report templates>]
// or a server database:         vestibor_prepare --server "<connection string>" [--copy <Vestibor.mdb>]
#include "helpers/Errors.h"
#include "helpers/Password.h"
#include "store/Connection.h"
#include "store/Schema.h"
#include "store/ServerDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTextStream>

namespace {
// The password of a new installation; the README names it.
const QString initialPassword = QStringLiteral("vestibor");

// A shipped report goes into the template directory only when that has no file of its
// name: a firm's own edits are never overwritten.
void installTemplates(const QDir& shipped, const QDir& templates)
{
    for (const QString& name : shipped.entryList({QStringLiteral("*.sestava")}, QDir::Files)) {
        if (QFileInfo::exists(templates.filePath(name)))
            continue;
        if (!QFile::copy(shipped.filePath(name), templates.filePath(name)))
            throw AppError(QStringLiteral("cannot install %1").arg(templates.filePath(name)));
    }
}
// Builds the schema in an empty server database and, when asked, copies a database file
// into it: a firm moves its data in one command.
int prepareServer(const QStringList& args, QTextStream& out)
{
    const QString connectionString = args.value(1);
    const QString copied = args.value(3);
    if (!copied.isEmpty() && !QFileInfo(copied).isFile())
        throw AppError(QStringLiteral("the database file %1 does not exist").arg(copied));
    {
        QSqlDatabase server = ServerDatabase::connect(connectionString, QStringLiteral("prepare"));
        ServerDatabase::createSchema(server);
        out << "Schema created on the server.\n";
        if (!copied.isEmpty()) {
            Connection file(QStringLiteral("copied"));
            file.open(copied);
            // Each table's count, and while a large one is copied, how far it got every half second.
            QString current;
            int currentRows = 0;
            QElapsedTimer sinceShown;
            const auto tableDone = [&] {
                if (!current.isEmpty())
                    out << current << ": " << currentRows << " rows copied\n";
                out.flush();
            };
            ServerDatabase::copyFromFile(file, server, [&](const QString& table, int rows) {
                if (table != current) {
                    tableDone();
                    current = table;
                    sinceShown.start();
                }
                currentRows = rows;
                if (sinceShown.elapsed() >= 500) {
                    out << table << ": " << rows << " rows so far\n";
                    out.flush();
                    sinceShown.restart();
                }
            });
            tableDone();
            out << "Copied " << copied << " into the server.\n";
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prepare"));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == u"--server") {
        if (!(args.size() == 2 || (args.size() == 4 && args[2] == u"--copy"))) {
            err << "usage: vestibor_prepare --server \"<connection string>\" [--copy <Vestibor.mdb>]\n";
            return 2;
        }
        try {
            return prepareServer(args, out);
        } catch (const AppError& e) {
            err << "vestibor_prepare: " << e.text() << "\n";
            return 1;
        }
    }
    if (argc != 2 && argc != 3) {
        err << "usage: vestibor_prepare <program directory> [<report templates to install>]\n"
               "       vestibor_prepare --server \"<connection string>\" [--copy <Vestibor.mdb>]\n";
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    try {
        if (!QDir().mkpath(dir.filePath(QStringLiteral("Ses"))))
            throw AppError(QStringLiteral("cannot create %1").arg(dir.filePath(QStringLiteral("Ses"))));
        const QString database = dir.filePath(QStringLiteral("Vestibor.mdb"));
        if (!QFileInfo::exists(database))
            Schema::createDatabaseFile(database);
        const QString password = dir.filePath(QStringLiteral("Vestibor.heslo"));
        if (!QFileInfo::exists(password))
            Password::writePasswordFile(password, initialPassword);
        if (argc == 3)
            installTemplates(QDir(QString::fromLocal8Bit(argv[2])),
                             QDir(dir.filePath(QStringLiteral("Ses"))));
    } catch (const AppError& e) {
        err << "vestibor_prepare: " << e.text() << "\n";
        return 1;
    }
    return 0;
}
