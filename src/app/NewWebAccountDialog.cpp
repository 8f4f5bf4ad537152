#include "app/NewWebAccountDialog.h"

#include "accounts/WebAccounts.h"
#include "app/WebAccountsModel.h"
#include "store/Connection.h"
#include "uikit/FixedDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

NewWebAccountDialog::NewWebAccountDialog(Connection& connection, QWidget* parent) : QDialog(parent)
{
    setUpFixedDialog(*this, QStringLiteral("NovyUcet"), QStringLiteral("Nový účet technika"),
                     QSize(344, 152));
    const auto label = [this](const QString& name, const QString& caption, int y) {
        auto* shown = new QLabel(caption, this);
        shown->setObjectName(name);
        shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        shown->setGeometry(8, y, 121, 21);
    };
    label(QStringLiteral("La_login"), QStringLiteral("Přihlašovací jméno"), 12);
    m_login = new QLineEdit(this);
    m_login->setObjectName(QStringLiteral("Ed_login"));
    m_login->setMaxLength(50);
    m_login->setGeometry(136, 12, 200, 21);

    label(QStringLiteral("La_technik"), QStringLiteral("Technik"), 40);
    m_technician = new QComboBox(this);
    m_technician->setObjectName(QStringLiteral("CB_technik"));
    m_technician->setGeometry(136, 40, 200, 21);
    m_technician->addItem(QStringLiteral("(žádný)"));
    const ResultSet technicians = connection.query(
        QStringLiteral("SELECT cislo, jmeno_technika FROM cis_technici ORDER BY jmeno_technika, cislo"));
    for (const auto& row : technicians.rows)
        m_technician->addItem(row[1].toString(), row[0].toInt());
    m_technician->setCurrentIndex(technicians.rows.isEmpty() ? 0 : 1);

    label(QStringLiteral("La_role"), QStringLiteral("Role"), 68);
    m_role = new QComboBox(this);
    m_role->setObjectName(QStringLiteral("CB_role"));
    m_role->setGeometry(136, 68, 200, 21);
    for (const QString& role : {WebAccounts::RoleTechnician, WebAccounts::RoleOffice})
        m_role->addItem(WebAccountsModel::roleCaption(role), role);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Tl_Ok"));
    ok->setGeometry(176, 116, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setGeometry(260, 116, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString NewWebAccountDialog::login() const
{
    return m_login->text();
}

QString NewWebAccountDialog::role() const
{
    return m_role->currentData().toString();
}

std::optional<int> NewWebAccountDialog::technician() const
{
    const QVariant number = m_technician->currentData();
    return number.isValid() ? std::optional<int>(number.toInt()) : std::nullopt;
}
