// Prepares a program directory: vestibor_prepare <directory> [<shipped report templates>]
#include "helpers/Password.h"
#include "store/Errors.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2 && argc != 3) {
        err << "usage: vestibor_prepare <program directory> [<report templates to install>]\n";
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
            installTemplates(QDir(QString::fromLocal8Bit(argv[2])), QDir(dir.filePath(QStringLiteral("Ses"))));
    } catch (const AppError& e) {
        err << "vestibor_prepare: " << e.text() << "\n";
        return 1;
    }
    return 0;
}
