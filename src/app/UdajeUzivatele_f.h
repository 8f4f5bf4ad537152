#pragma once

#include "helpers/Settings.h"

#include <QDialog>
#include <QList>

class QLineEdit;
class QPushButton;

// The user's own company data, handed to the report generator. Only the "Ok" button
// confirms; Enter in a field does not.
class TUdajeUzivatele : public QDialog
{
    Q_OBJECT
public:
    TUdajeUzivatele(const Settings& current, QWidget* parent);

    Settings chosenSettings() const;

private:
    Settings m_settings;
    QList<QLineEdit*> m_fields;
    QPushButton* m_ok;
};
