#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The search form for a heating source: by serial number or barcode.
class TOtevritKartu : public QDialog
{
    Q_OBJECT
public:
    explicit TOtevritKartu(QWidget* parent);

    // "vyrobni_cislo" or "carovy_kod", after the choice of the radio buttons.
    QString searchColumn() const;
    QString searchValue() const;

private:
    QRadioButton* m_serial;
    QRadioButton* m_barcode;
    QLineEdit* m_value;
    QPushButton* m_open;
};
