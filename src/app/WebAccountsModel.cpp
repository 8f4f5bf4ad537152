#include "app/WebAccountsModel.h"

#include "store/ColumnKind.h"

#include <QColor>

namespace {

QString yesNo(bool value)
{
    return value ? QStringLiteral("ano") : QStringLiteral("ne");
}

QString localTime(const QDateTime& utc)
{
    if (!utc.isValid())
        return QString();
    const QDateTime local = utc.toLocalTime();
    return FieldValues::dateText(local.date()) + u' ' + local.time().toString(QStringLiteral("H:mm"));
}

} // namespace

void WebAccountsModel::setAccounts(QList<WebAccount> accounts)
{
    beginResetModel();
    m_accounts = std::move(accounts);
    endResetModel();
}

QString WebAccountsModel::roleCaption(const QString& role)
{
    if (role == WebAccounts::RoleTechnician)
        return QStringLiteral("Technik");
    if (role == WebAccounts::RoleOffice)
        return QStringLiteral("Kancelář");
    return role;
}

int WebAccountsModel::defaultWidth(Column column)
{
    static const int widths[ColumnCount] = {130, 70, 150, 55, 85, 105, 125};
    return widths[column];
}

int WebAccountsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_accounts.size());
}

int WebAccountsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant WebAccountsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_accounts.size())
        return {};
    if (role == Qt::DisplayRole)
        return text(m_accounts[index.row()], index.column());
    if (role == Qt::ForegroundRole && !m_accounts[index.row()].active)
        return QColor(Qt::gray); // a blocked account stands back
    return {};
}

QString WebAccountsModel::text(const WebAccount& account, int column) const
{
    switch (column) {
    case Login:
        return account.login;
    case Role:
        return roleCaption(account.role);
    case Technician:
        if (!account.technician)
            return QString();
        return account.technicianName.isEmpty() ? QStringLiteral("č. %1").arg(*account.technician)
                                                : account.technicianName;
    case Active:
        return yesNo(account.active);
    case MustChangePassword:
        return yesNo(account.mustChangePassword);
    case Created:
        return localTime(account.created);
    case LastSignIn:
        return localTime(account.lastSignIn);
    default:
        return QString();
    }
}

QVariant WebAccountsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[ColumnCount] = {
        "Přihlašovací jméno", "Role", "Technik", "Aktivní", "Změnit heslo", "Vytvořeno",
        "Poslední přihlášení"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}
