#include "records/OtevritKartu_f.h"

#include "uikit/FixedDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TOtevritKartu::TOtevritKartu(QWidget* parent) : QDialog(parent)
{
    setUpFixedDialog(*this, QStringLiteral("TOtevritKartu"), QStringLiteral("Otevřít kartu tepelného zdroje"),
                     QSize(282, 196));

    m_serial = new QRadioButton(QStringLiteral("Výrobní číslo"), this);
    m_serial->setObjectName(QStringLiteral("RB_VyrobniCislo"));
    m_serial->setGeometry(8, 32, 200, 17);
    m_serial->setChecked(true);
    m_barcode = new QRadioButton(QStringLiteral("Čárový kód"), this);
    m_barcode->setObjectName(QStringLiteral("RB_CarovyKod"));
    m_barcode->setGeometry(8, 56, 200, 17);

    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("Ed_VstupniPole"));
    m_value->setGeometry(8, 96, 266, 21);
    m_value->setMaxLength(30);

    m_open = new QPushButton(QStringLiteral("Otevřít"), this);
    m_open->setObjectName(QStringLiteral("Tl_Otevrit"));
    m_open->setGeometry(64, 155, 75, 25);
    m_open->setDefault(true);
    m_open->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setGeometry(145, 155, 75, 25);
    cancel->setAutoDefault(false);

    setTabOrder(m_serial, m_barcode);
    setTabOrder(m_barcode, m_value);
    setTabOrder(m_value, m_open);
    setTabOrder(m_open, cancel);

    for (QRadioButton* choice : {m_serial, m_barcode})
        connect(choice, &QRadioButton::clicked, m_value, [this] { m_value->setFocus(); });
    connect(m_value, &QLineEdit::textChanged, m_open,
            [this](const QString& text) { m_open->setEnabled(!text.isEmpty()); });
    connect(m_open, &QPushButton::clicked, this, &QDialog::accept);
    // The value is what the user (or a barcode reader) types first.
    m_value->setFocus();
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TOtevritKartu::searchColumn() const
{
    return m_barcode->isChecked() ? QStringLiteral("carovy_kod") : QStringLiteral("vyrobni_cislo");
}

QString TOtevritKartu::searchValue() const
{
    return m_value->text();
}
