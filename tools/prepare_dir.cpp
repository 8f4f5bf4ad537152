// Prepares a program directory: vestibor_prepare <directory>
#include "app/Password.h"
#include "store/Errors.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {
// The password of a new installation; the README names it.
const QString initialPassword = QStringLiteral("vestibor");
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: vestibor_prepare <program directory>\n";
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
    } catch (const AppError& e) {
        err << "vestibor_prepare: " << e.text() << "\n";
        return 1;
    }
    return 0;
}
