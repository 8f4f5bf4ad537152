#pragma once

#include "accounts/WebAccounts.h"

#include <QAbstractTableModel>

// The rows of the web accounts window: one account a row, times in the machine's own zone.
class WebAccountsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Login,
        Role,
        Technician,
        Active,
        MustChangePassword,
        Created,
        LastSignIn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setAccounts(QList<WebAccount> accounts);
    const QList<WebAccount>& accounts() const { return m_accounts; }

    // What a role is called in the window: "Technik", "Kancelář".
    static QString roleCaption(const QString& role);
    static int defaultWidth(Column column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(const WebAccount& account, int column) const;

    QList<WebAccount> m_accounts;
};
