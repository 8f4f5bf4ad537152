#pragma once

#include <QDialog>
#include <optional>

class Connection;
class QComboBox;
class QLineEdit;

// Asks for a new web account: the login, the technician from the code list and the role.
class NewWebAccountDialog : public QDialog
{
    Q_OBJECT
public:
    NewWebAccountDialog(Connection& connection, QWidget* parent);

    QString login() const;
    QString role() const; // "technik" or "kancelar"
    std::optional<int> technician() const;

private:
    QLineEdit* m_login;
    QComboBox* m_technician;
    QComboBox* m_role;
};
