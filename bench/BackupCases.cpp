#include "BackupCases.h"

#include "BenchCases.h"

#include "app/Backups.h"
#include "store/Connection.h"
#include "uikit/AppContext.h"

#include <QDir>
#include <QFileInfo>

namespace {

BenchCase backupOnRequest(BenchEnv& env)
{
    BenchCase c;
    const QString target = QDir(env.workDir).filePath(QStringLiteral("zaloha.mdb"));
    c.name = QStringLiteral("Backup of the database (%1 MB), checked")
                 .arg(QFileInfo(env.context.connection.filePath()).size() / (1024 * 1024));
    c.targetMs = 2000;
    c.repetitions = 3;
    c.run = [&env, target] {
        return measure(env.context.connection, [&] {
            if (const std::optional<QString> why = Backups::write(env.context.connection, target))
                qFatal("backup failed: %s", qPrintable(*why));
        });
    };
    c.finish = [target] { QFile::remove(target); };
    return c;
}

BenchCase automaticBackup(BenchEnv& env)
{
    BenchCase c;
    const QString folder = QDir(env.workDir).filePath(QStringLiteral("Zalohy"));
    c.name = QStringLiteral("Automatic backup at the end, 10 kept");
    c.targetMs = 2000;
    c.repetitions = 3;
    c.run = [&env, folder] {
        return measure(env.context.connection, [&] {
            const Backups::Written written =
                Backups::writeInto(env.context.connection, folder, QDateTime::currentDateTime(), QString(),
                                   {}, DatabaseFile::Check::Quick);
            if (!written.failure.isEmpty())
                qFatal("backup failed: %s", qPrintable(written.failure));
            Backups::keepNewest(folder, 10);
        });
    };
    c.finish = [folder] { QDir(folder).removeRecursively(); };
    return c;
}

} // namespace

QList<BenchCase> backupCases(BenchEnv& env)
{
    if (env.context.connection.isServer())
        return {};
    return {backupOnRequest(env), automaticBackup(env)};
}
