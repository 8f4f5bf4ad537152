#pragma once

#include <QString>
#include <functional>

class AppContext;
class OpenCustomer;
class QWidget;

// The backups of the database file: on request, automatically at the end of a run that
// changed something, and putting a backup back in place, after which the program ends. A
// database on the server is backed up by the server's own tools; the commands say how.
class DatabaseBackups
{
public:
    // shutDown runs the main window's shutdown before a restore replaces the file; window
    // is the dialogs' parent and is closed after a restore.
    DatabaseBackups(AppContext& context, OpenCustomer& customer, QWidget* window,
                    std::function<void()> shutDown);

    void backupCommand();
    void restoreCommand();
    // At the end of a run: a copy into Zalohy when the file changed, keeping the newest.
    void automaticBackup();

private:
    bool replaceDatabase(const QString& backup);

    AppContext& m_context;
    OpenCustomer& m_customer;
    QWidget* m_window;
    std::function<void()> m_shutDown;
    bool m_databaseReplaced = false; // restored from a backup: the program ends without a backup of its own
};
