#include "app/Backups.h"

#include "helpers/AppError.h"
#include "helpers/SafeFile.h"
#include "store/Connection.h"
#include "store/DatabaseFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace Backups {

namespace {

const QString prefix = QStringLiteral("Vestibor_");
const QString suffix = QStringLiteral(".mdb");

// The file a path ends at, also when it does not exist yet (its folder resolved).
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace

QString fileName(const QDateTime& at, const QString& note)
{
    QString name = prefix + at.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    if (!note.isEmpty())
        name += u'_' + note;
    return name + suffix;
}

std::optional<QString> refusedTarget(const QString& target, const QString& databaseFile)
{
    const QString file = resolved(target);
    const QString database = resolved(databaseFile);
    for (const QString& own :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        if (file == database + own)
            return QStringLiteral(
                "Do souboru databáze, se kterou program pracuje, nelze zálohovat. Zvolte jiný "
                "soubor.");
    return std::nullopt;
}

std::optional<QString> write(Connection& connection, const QString& target, const Progress& progress,
                             DatabaseFile::Check check)
{
    const auto notWritten = [&](const QString& why) {
        return QStringLiteral("Soubor „%1“ se nepodařilo zapsat: %2").arg(target, why);
    };
    const std::function<void()> checking = [&] {
        if (progress)
            progress(0);
    };
    std::optional<QString> failure;
    try {
        connection.withFileImage([&](QByteArrayView image) {
            SafeFile file(target);
            if (!file.open()) {
                failure = notWritten(file.errorString());
                return;
            }
            constexpr qsizetype megabyte = 1024 * 1024;
            for (qsizetype at = 0; at < image.size(); at += megabyte) {
                const qsizetype size = std::min(megabyte, image.size() - at);
                if (file.write(image.data() + at, size) != size) {
                    failure = notWritten(file.errorString());
                    return;
                }
                if (progress)
                    progress(1);
            }
            // The copy is checked before it replaces what the target held.
            std::optional<QString> damage;
            const auto checked = [&](const QString& written) {
                damage = DatabaseFile::damage(written, checking, check);
                return damage;
            };
            if (!file.commit(checked))
                failure = damage ? QStringLiteral("Zapsaná záloha neprošla kontrolou. %1").arg(*damage)
                                 : notWritten(file.errorString());
        });
    } catch (const AppError& e) {
        return QStringLiteral("Databázi se nepodařilo přečíst: %1").arg(e.text());
    }
    return failure;
}

Written writeInto(Connection& connection, const QString& folder, const QDateTime& at, const QString& note,
                  const Progress& progress, DatabaseFile::Check check)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return {QString(), QStringLiteral("Složku „%1“ se nepodařilo vytvořit.").arg(folder)};
    // Two copies within one second get distinct names.
    QString path = QDir(folder).filePath(fileName(at, note));
    for (int i = 2; QFileInfo::exists(path); ++i)
        path = QDir(folder).filePath(
            fileName(at, note + (note.isEmpty() ? QString() : QStringLiteral("_")) + QString::number(i)));
    if (const std::optional<QString> why = write(connection, path, progress, check))
        return {QString(), *why};
    return {path, QString()};
}

void keepNewest(const QString& folder, int keep)
{
    // The names sort as their moments do.
    const QStringList copies =
        QDir(folder).entryList({prefix + u'*' + suffix}, QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = keep; i < copies.size(); ++i)
        QFile::remove(QDir(folder).filePath(copies[i]));
}

QString sizeText(qint64 bytes)
{
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    if (bytes < 1024 * 1024)
        return czech.toString(std::max<qint64>(1, (bytes + 1023) / 1024)) + QStringLiteral(" kB");
    return czech.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace Backups
