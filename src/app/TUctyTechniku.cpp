#include "app/TUctyTechniku.h"

#include "accounts/AccountError.h"
#include "app/NewWebAccountDialog.h"
#include "app/WebAccountsModel.h"
#include "uikit/AppContext.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"
#include "uikit/Dialogs.h"
#include "uikit/FixedDialog.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

TUctyTechniku::TUctyTechniku(AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_accounts(context.connection)
{
    setUpFixedDialog(*this, QStringLiteral("TUctyTechniku"), QStringLiteral("Účty techniků"),
                     QSize(746, 345));

    m_model = new WebAccountsModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setGeometry(8, 8, 730, 288);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    for (int c = 0; c < WebAccountsModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, WebAccountsModel::defaultWidth(WebAccountsModel::Column(c)));
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TUctyTechniku::updateCommands);

    m_add = makeCommand(this, Akce_PridatUcet, QStringLiteral("Přidat…"),
                        QStringLiteral("Přidat účet technika pro webovou aplikaci"));
    m_newPassword = makeCommand(this, Akce_NoveHeslo, QStringLiteral("Nové heslo…"),
                                QStringLiteral("Nastavit účtu nové jednorázové heslo"));
    m_block = makeCommand(this, Akce_Zablokovat, QStringLiteral("Zablokovat"),
                          QStringLiteral("Zablokovat účet a ukončit jeho přihlášení"));
    m_unblock = makeCommand(this, Akce_Odblokovat, QStringLiteral("Odblokovat"),
                            QStringLiteral("Znovu povolit přihlašování k účtu"));
    m_close = makeCommand(this, Akce_Zavrit, QStringLiteral("Zavřít"), QStringLiteral("Zavřít formulář"));
    onTriggered(m_add, this, [this] { addAccount(); });
    onTriggered(m_newPassword, this, [this] { newPassword(); });
    onTriggered(m_block, this, [this] { block(); });
    onTriggered(m_unblock, this, [this] { unblock(); });
    connect(m_close, &QAction::triggered, this, &QDialog::reject);

    QList<QWidget*> order{m_grid};
    int x = 8;
    for (QAction* command : {m_add, m_newPassword, m_block, m_unblock, m_close}) {
        auto* button = new QPushButton(this);
        button->setObjectName(buttonNameFor(command->objectName()));
        button->setAutoDefault(false);
        bindButton(button, command);
        button->setGeometry(command == m_close ? 663 : x, 308, 75, 25);
        x += 80;
        order << button;
    }
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    reload();
}

void TUctyTechniku::reload(const QString& selectLogin)
{
    const QString keep = selectLogin.isEmpty() && selected() ? selected()->login : selectLogin;
    m_model->setAccounts(m_accounts.list());
    int row = 0;
    for (int i = 0; i < m_model->accounts().size(); ++i)
        if (m_model->accounts()[i].login == keep)
            row = i;
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(row, 0));
    updateCommands();
}

std::optional<WebAccount> TUctyTechniku::selected() const
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_model->accounts().size())
        return std::nullopt;
    return m_model->accounts()[row];
}

void TUctyTechniku::updateCommands()
{
    const std::optional<WebAccount> account = selected();
    m_newPassword->setEnabled(account.has_value());
    m_block->setEnabled(account && account->active);
    m_unblock->setEnabled(account && !account->active);
}

void TUctyTechniku::addAccount()
{
    NewWebAccountDialog dialog(m_context.connection, this);
    if (runModal(dialog) != QDialog::Accepted)
        return;
    QString password;
    try {
        password = m_accounts.add(dialog.login(), dialog.role(), dialog.technician());
    } catch (const AccountError& e) {
        ShowInfo(e.text());
        return;
    }
    const QString login = dialog.login().trimmed().toLower();
    reload(login);
    showOneTimePassword(login, password);
}

void TUctyTechniku::newPassword()
{
    const std::optional<WebAccount> account = selected();
    if (!account)
        return;
    if (AskQuestion(
            QStringLiteral("Nové heslo"),
            QStringLiteral("Nastavit účtu „%1“ nové jednorázové heslo? Dosavadní heslo přestane platit "
                           "a přihlášení účtu skončí.")
                .arg(account->login),
            QuestionKind::YesNo) != Answer::Yes)
        return;
    const QString password = m_accounts.setOneTimePassword(account->login);
    reload();
    showOneTimePassword(account->login, password);
}

void TUctyTechniku::block()
{
    const std::optional<WebAccount> account = selected();
    if (!account)
        return;
    if (AskQuestion(QStringLiteral("Zablokovat"),
                    QStringLiteral("Opravdu zablokovat účet „%1“? Technik se do webové aplikace nepřihlásí "
                                   "a jeho přihlášení skončí.")
                        .arg(account->login),
                    QuestionKind::YesNo) != Answer::Yes)
        return;
    m_accounts.block(account->login);
    reload();
}

void TUctyTechniku::unblock()
{
    const std::optional<WebAccount> account = selected();
    if (!account)
        return;
    m_accounts.unblock(account->login);
    reload();
}

void TUctyTechniku::showOneTimePassword(const QString& login, const QString& password)
{
    ShowTextWindow(
        {.caption = QStringLiteral("Jednorázové heslo"),
         .text = QStringLiteral("Jednorázové heslo pro %1: %2; při prvním přihlášení ho bude nutné "
                                "změnit.")
                     .arg(login, password),
         .width = 460,
         .height = 64,
         .wordWrap = true,
         .fixedFont = true, // no letter to be taken for another
         .readOnly = true});
}
