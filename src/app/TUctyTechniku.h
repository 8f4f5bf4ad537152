#pragma once

#include "accounts/WebAccounts.h"

#include <QDialog>
#include <optional>

class AppContext;
class QAction;
class QTableView;
class WebAccountsModel;

// Servis → Účty techniků…: the technicians' accounts of the web app. The office adds one,
// hands out a new one-time password (shown once, to be copied), blocks and unblocks.
class TUctyTechniku : public QDialog
{
    Q_OBJECT
public:
    TUctyTechniku(AppContext& context, QWidget* parent);

    QTableView* grid() const { return m_grid; }

private:
    void addAccount();
    void newPassword();
    void block();
    void unblock();
    void reload(const QString& selectLogin = QString());
    std::optional<WebAccount> selected() const;
    void updateCommands();
    void showOneTimePassword(const QString& login, const QString& password);

    AppContext& m_context;
    WebAccounts m_accounts;
    WebAccountsModel* m_model;
    QTableView* m_grid;
    QAction* m_add;
    QAction* m_newPassword;
    QAction* m_block;
    QAction* m_unblock;
    QAction* m_close;
};
