#include "app/UdajeUzivatele_f.h"

#include "uikit/EnterPress.h"
#include "uikit/FixedDialog.h"
#include "uikit/LimitedLineEdit.h"

#include <QLabel>
#include <QPushButton>

namespace {

struct Row
{
    const char* label;
    const char* field;
    int width;
    int maxLength; // 0: no limit
};

const Row rows[] = {{"Název subjektu", "Ed_NazevSubjektu", 249, 0},
                    {"Odpovědná osoba", "Ed_OdpovednaOsoba", 249, 0},
                    {"Ulice", "Ed_Ulice", 249, 0},
                    {"PSČ", "Ed_PSC", 65, 6},
                    {"Město", "Ed_Mesto", 249, 0},
                    {"IČO", "Ed_ICO", 153, 8},
                    {"DIČ", "Ed_DIC", 177, 12},
                    {"Telefon/Mobil", "Ed_Tel", 153, 0},
                    {"Email", "Ed_Email", 257, 0},
                    {"WWW", "Ed_WWW", 257, 0}};

} // namespace

TUdajeUzivatele::TUdajeUzivatele(const Settings& current, QWidget* parent)
    : QDialog(parent), m_settings(current)
{
    setUpFixedDialog(*this, QStringLiteral("TUdajeUzivatele"), QStringLiteral("Údaje uživatele"),
                     QSize(411, 346));

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("Tl_Ok"));
    m_ok->setGeometry(200, 296, 75, 25);
    m_ok->setAutoDefault(false); // the dialog has no default button: Enter in a field confirms nothing
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setGeometry(280, 296, 75, 25);
    cancel->setAutoDefault(false);
    pressOnEnter(m_ok);
    pressOnEnter(cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    QWidget* previous = cancel;
    setTabOrder(m_ok, cancel);
    int y = 16;
    for (int i = 0; i < 10; ++i, y += 24) {
        const Row& row = rows[i];
        auto* label = new QLabel(QString::fromUtf8(row.label), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, y, 105, 21);
        QLineEdit* field = row.maxLength > 0 ? new LimitedLineEdit(row.maxLength, this) : new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(row.field));
        field->setGeometry(120, y, row.width, 21);
        field->setText(*current.userDataValue(i));
        connect(field, &QLineEdit::textChanged, m_ok, [this] { m_ok->setEnabled(true); });
        setTabOrder(previous, field);
        previous = field;
        m_fields.append(field);
    }
    m_ok->setEnabled(false);
}

Settings TUdajeUzivatele::chosenSettings() const
{
    Settings s = m_settings;
    for (int i = 0; i < m_fields.size(); ++i)
        *s.userDataValue(i) = m_fields[i]->text();
    return s;
}
