// Prepares a program directory:  vestibor_prepare <directory> [<shipped report templates>]
// or a server database:         vestibor_prepare --server "<connection string>" [--copy <Vestibor.mdb>]
#include "helpers/AppError.h"
#include "helpers/CommandLine.h"
#include "helpers/CzechQtTranslation.h"
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
// What --help says the tool does.
const char description[] =
    "Doplní adresář programu o to, co mu chybí: prázdnou databázi Vestibor.mdb, soubor "
    "Vestibor.heslo s úvodním heslem a adresář sestav Ses se sestavami z adresáře "
    "<sestavy>; nic, co už existuje, nepřepíše.\n"
    "S volbou --server připraví tabulky programu v prázdné databázi serveru PostgreSQL "
    "a s volbou --copy do ní přenese data souboru databáze.";

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
int prepareServer(const QString& connectionString, const QString& copied, QTextStream& out)
{
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
    installCzechQtTranslation();
    CommandLine commandLine(QString::fromUtf8(description), QStringLiteral("Vypíše tuto nápovědu."));
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption server = commandLine.addOption(
        QStringLiteral("server"),
        QStringLiteral("Připojovací řetězec prázdné databáze serveru, např. "
                       "\"host=db.firma.lan port=5432 dbname=vestibor user=kancelar\"."),
        QStringLiteral("připojovací řetězec"));
    const QCommandLineOption copy = commandLine.addOption(
        QStringLiteral("copy"),
        QStringLiteral("Soubor databáze, jehož data se přenesou na server (jen s --server)."),
        QStringLiteral("Vestibor.mdb"));
    commandLine.addArgument(QStringLiteral("adresář"), QStringLiteral("Adresář programu."));
    commandLine.addArgument(QStringLiteral("sestavy"),
                            QStringLiteral("Adresář sestav, které se doplní do Ses."),
                            QStringLiteral("[sestavy]"));
    const std::optional<int> ended = commandLine.read(app.arguments(), [&](const QCommandLineParser& p) {
        const qsizetype positional = p.positionalArguments().size();
        if (p.isSet(server))
            return positional == 0 ? QString()
                                   : QStringLiteral("S volbou --server se adresář programu neuvádí.");
        if (p.isSet(copy))
            return QStringLiteral("Volba --copy platí jen s volbou --server.");
        return positional == 1 || positional == 2 ? QString() : QStringLiteral("Uveďte adresář programu.");
    });
    if (ended)
        return *ended;

    QTextStream err(stderr);
    QTextStream out(stdout);
    if (parser.isSet(server)) {
        try {
            return prepareServer(parser.value(server), parser.value(copy), out);
        } catch (const AppError& e) {
            err << "vestibor_prepare: " << e.text() << "\n";
            return 1;
        }
    }
    const QStringList positional = parser.positionalArguments();
    const QDir dir(positional[0]);
    try {
        if (!QDir().mkpath(dir.filePath(QStringLiteral("Ses"))))
            throw AppError(QStringLiteral("cannot create %1").arg(dir.filePath(QStringLiteral("Ses"))));
        const QString database = dir.filePath(QStringLiteral("Vestibor.mdb"));
        if (!QFileInfo::exists(database))
            Schema::createDatabaseFile(database);
        const QString password = dir.filePath(QStringLiteral("Vestibor.heslo"));
        if (!QFileInfo::exists(password))
            Password::writePasswordFile(password, initialPassword);
        if (positional.size() == 2)
            installTemplates(QDir(positional[1]), QDir(dir.filePath(QStringLiteral("Ses"))));
    } catch (const AppError& e) {
        err << "vestibor_prepare: " << e.text() << "\n";
        return 1;
    }
    return 0;
}
