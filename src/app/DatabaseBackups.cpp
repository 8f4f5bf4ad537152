#include "app/DatabaseBackups.h"

#include "app/Backups.h"
#include "app/OpenCustomer.h"
#include "helpers/DatabaseSettings.h"
#include "helpers/SafeFile.h"
#include "store/DatabaseFile.h"
#include "uikit/AppContext.h"
#include "uikit/DialogBackend.h"
#include "uikit/Dialogs.h"
#include "uikit/LongWork.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

namespace {

const QString backupsFolder = QStringLiteral("Zalohy");
const QString megabytesWritten = QStringLiteral("Zapsáno MB");

// A database on the server is backed up by the server's own tools.
QString serverBackupMessage(const DatabaseSettings& database)
{
    const QString name = database.Databaze.isEmpty() ? QStringLiteral("<databáze>") : database.Databaze;
    return QStringLiteral(
               "Databáze je na databázovém serveru a zálohuje se jeho vlastními nástroji, například "
               "příkazem\r\npg_dump --format=custom --file=vestibor.dump %1\r\nZe zálohy ji obnoví příkaz "
               "pg_restore.")
        .arg(name);
}

} // namespace

DatabaseBackups::DatabaseBackups(AppContext& context, OpenCustomer& customer, QWidget* window,
                                 std::function<void()> shutDown)
    : m_context(context), m_customer(customer), m_window(window), m_shutDown(std::move(shutDown))
{
}

void DatabaseBackups::backupCommand()
{
    if (m_context.connection.isServer()) {
        ShowInfo(serverBackupMessage(DatabaseSettings::read(m_context.settingsFile())));
        return;
    }
    const QString suggested =
        QStringLiteral("Vestibor_%1.mdb").arg(QDate::currentDate().toString(Qt::ISODate));
    const std::optional<FileChoice> choice = dialogBackend().saveFile(
        m_window, QStringLiteral("Databáze (*.mdb)"), suggested, QStringLiteral("mdb"));
    if (!choice)
        return;
    const QString target = QFileInfo(choice->path).absoluteFilePath();
    if (const std::optional<QString> refused =
            Backups::refusedTarget(target, m_context.connection.filePath())) {
        ShowInfo(*refused);
        return;
    }
    std::optional<QString> failure;
    {
        LongWork work(QStringLiteral("Zálohování databáze"), megabytesWritten);
        failure =
            Backups::write(m_context.connection, target, [&](qint64 megabytes) { work.step(megabytes); });
    }
    if (failure) {
        ShowWarning(QStringLiteral("Zálohování databáze se nezdařilo.\r\n") + *failure);
        return;
    }
    ShowInfo(QStringLiteral("Databáze je zálohována do souboru „%1“ (%2).")
                 .arg(target, Backups::sizeText(QFileInfo(target).size())));
}

void DatabaseBackups::automaticBackup()
{
    if (m_databaseReplaced || m_context.connection.isServer() || !m_context.connection.isOpen() ||
        !m_context.connection.changedSinceOpen())
        return;
    const int keep = DatabaseSettings::read(m_context.settingsFile()).PocetZaloh;
    if (keep <= 0)
        return;
    const QString folder = m_context.path(backupsFolder);
    Backups::Written written;
    {
        LongWork work(QStringLiteral("Automatická záloha databáze"), megabytesWritten);
        written = Backups::writeInto(
            m_context.connection, folder, QDateTime::currentDateTime(), QString(),
            [&](qint64 megabytes) { work.step(megabytes); }, DatabaseFile::Check::Quick);
    }
    if (!written.failure.isEmpty()) {
        ShowWarning(QStringLiteral("Automatická záloha databáze se nezdařila.\r\n") + written.failure);
        return;
    }
    Backups::keepNewest(folder, keep);
}

void DatabaseBackups::restoreCommand()
{
    if (m_context.connection.isServer()) {
        ShowInfo(serverBackupMessage(DatabaseSettings::read(m_context.settingsFile())));
        return;
    }
    const std::optional<QString> chosen = dialogBackend().openFile(
        m_window, QStringLiteral("Obnovit ze zálohy"), QStringLiteral("Databáze (*.mdb)"), QString());
    if (!chosen)
        return;
    const QString backup = QFileInfo(*chosen).absoluteFilePath();
    if (Backups::refusedTarget(backup, m_context.connection.filePath())) {
        ShowInfo(QStringLiteral("Zvolený soubor je databáze, se kterou program právě pracuje."));
        return;
    }
    std::optional<QString> unusable;
    {
        LongWork work(QStringLiteral("Kontrola zálohy"), QString());
        unusable = DatabaseFile::whyNotProgramDatabase(backup, [&] { work.step(0); });
    }
    if (unusable) {
        ShowInfo(QStringLiteral("Ze souboru „%1“ nelze databázi obnovit.\r\n%2").arg(backup, *unusable));
        return;
    }
    if (!m_customer.savePendingEdits())
        return;
    if (AskQuestion(
            QStringLiteral("Obnovit ze zálohy"),
            QStringLiteral("Současná databáze bude nahrazena zálohou „%1“. Předtím se uloží do složky %2.\r\n"
                           "Program se potom ukončí. Pokračovat?")
                .arg(backup, backupsFolder),
            QuestionKind::YesNoWarning) != Answer::Yes)
        return;
    if (replaceDatabase(backup))
        QTimer::singleShot(0, m_window, &QWidget::close);
}

// Keeps the current file in Zalohy, then puts the backup in its place. True when the
// program must end (its connection is closed); false when nothing changed.
bool DatabaseBackups::replaceDatabase(const QString& backup)
{
    QFile source(backup);
    if (!source.open(QIODevice::ReadOnly)) {
        ShowWarning(QStringLiteral("Soubor „%1“ nelze přečíst: %2").arg(backup, source.errorString()));
        return false;
    }
    LongWork work(QStringLiteral("Obnova ze zálohy"), megabytesWritten);
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        ShowWarning(QStringLiteral("Soubor „%1“ nelze přečíst: %2").arg(backup, source.errorString()));
        return false;
    }
    const Backups::Written kept =
        Backups::writeInto(m_context.connection, m_context.path(backupsFolder), QDateTime::currentDateTime(),
                           QStringLiteral("pred_obnovou"), [&](qint64 megabytes) { work.step(megabytes); });
    if (!kept.failure.isEmpty()) {
        ShowWarning(QStringLiteral("Současnou databázi se nepodařilo uložit, obnova se neprovedla.\r\n") +
                    kept.failure);
        return false;
    }

    // From here on the program works on no database and ends.
    m_databaseReplaced = true;
    const QString file = m_context.connection.filePath();
    m_customer.close();
    m_shutDown();
    m_context.connection.close();
    // SQLite removes its files beside the database when the last connection closes: while
    // they stay, another running program has the file open, and replacing it would spoil it.
    if (QFileInfo::exists(file + QStringLiteral("-wal")) ||
        QFileInfo::exists(file + QStringLiteral("-shm"))) {
        ShowWarning(
            QStringLiteral("Databázi má otevřenou jiný spuštěný program, obnova se neprovedla. Ukončete "
                           "ho a obnovu zopakujte.\r\nProgram se nyní ukončí."));
        return true;
    }
    if (const std::optional<QString> why = SafeFile::writeWhole(file, bytes)) {
        ShowWarning(
            QStringLiteral("Obnova se nezdařila, databáze zůstala beze změny: %1\r\nProgram se nyní ukončí.")
                .arg(*why));
        return true;
    }
    ShowInfo(QStringLiteral(
                 "Databáze je obnovena ze zálohy „%1“. Předchozí databáze je uložena v souboru „%2“.\r\n"
                 "Program se nyní ukončí, spusťte ho znovu.")
                 .arg(backup, kept.path));
    return true;
}
