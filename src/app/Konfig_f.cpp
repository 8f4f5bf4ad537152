#include "app/Konfig_f.h"

#include "helpers/TextConversions.h"
#include "uikit/DialogBackend.h"
#include "uikit/FixedDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

// A plain panel showing a colour that opens the colour dialog when clicked.
class ColorPanel : public QFrame
{
public:
    using QFrame::QFrame;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        if (onClick)
            onClick();
    }
};

const char* colorProperty = "colorValue";

} // namespace

TKonfig::TKonfig(const Settings& current, QWidget* parent) : QDialog(parent), m_settings(current)
{
    setUpFixedDialog(*this, QStringLiteral("TKonfig"), QStringLiteral("Nastavení prostředí"),
                     QSize(424, 323));

    auto* cardLabel = new QLabel(QStringLiteral("Barva karta TZ"), this);
    cardLabel->setObjectName(QStringLiteral("La_BarvaKartaTZ"));
    cardLabel->move(8, 24);
    m_cardColor = colorPanel(QStringLiteral("Panel_BarvaKartaTZ"), current.BarvaKartaTZ, 16);
    auto* activityLabel = new QLabel(QStringLiteral("Barva karta činností"), this);
    activityLabel->setObjectName(QStringLiteral("La_BarvaKartaCinnosti"));
    activityLabel->move(8, 56);
    m_activityColor = colorPanel(QStringLiteral("Panel_BarvaKartaCinnosti"), current.BarvaKartaCinnosti, 48);

    auto* defaults = new QPushButton(QStringLiteral("Výchozí barvy"), this);
    defaults->setObjectName(QStringLiteral("Tl_VychoziBarvy"));
    defaults->setGeometry(152, 88, 81, 25);
    defaults->setFocusPolicy(Qt::ClickFocus);
    connect(defaults, &QPushButton::clicked, this, [this] {
        // Each panel back to its own default colour.
        setPanelColor(m_cardColor, Settings::DefaultBarvaKartaTZ);
        setPanelColor(m_activityColor, Settings::DefaultBarvaKartaCinnosti);
        changed();
    });

    const auto check = [this](const QString& name, const QString& caption, int y, int width, bool on) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(name);
        box->setGeometry(8, y, width, 17);
        box->setChecked(on);
        connect(box, &QCheckBox::toggled, this, &TKonfig::changed);
        return box;
    };
    m_askBeforeSaving =
        check(QStringLiteral("ChBox_DialogUlozit"),
              QStringLiteral("Před uložením vyvolávat dialog pro potvrzení"), 128, 249, current.DialogUlozit);
    m_closePrintForm = check(QStringLiteral("ChBox_ZaviratFrmTisk"),
                             QStringLiteral("Po výběru sestavy zavřít formulář tiskového modulu"), 160, 281,
                             current.ZaviratFrmTisk);
    m_directDateEditing =
        check(QStringLiteral("ChBox_PovolitPrimouEditaciDatumu"),
              QStringLiteral("Povolit přímou editaci datumů"), 192, 169, current.PovolitPrimouEditaciDatumu);
    m_passwordAtStart = check(QStringLiteral("ChBox_hsl"),
                              QStringLiteral("Používat zabezpečení spuštění heslem"), 224, 217, current.hsl);

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("Tl_Ok"));
    m_ok->setGeometry(240, 272, 75, 25);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setGeometry(320, 272, 75, 25);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Disabled last, after the check boxes have been set.
    m_ok->setEnabled(false);
}

QFrame* TKonfig::colorPanel(const QString& name, int color, int y)
{
    auto* panel = new ColorPanel(this);
    panel->setObjectName(name);
    panel->setGeometry(152, y, 113, 25);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    panel->setCursor(Qt::PointingHandCursor);
    panel->onClick = [this, panel] { pickColor(panel); };
    setPanelColor(panel, color);
    return panel;
}

void TKonfig::setPanelColor(QFrame* panel, int color)
{
    panel->setProperty(colorProperty, color);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colorFromValue(color));
    panel->setPalette(p);
}

void TKonfig::pickColor(QFrame* panel)
{
    const std::optional<int> chosen = dialogBackend().pickColor(this, panel->property(colorProperty).toInt());
    if (!chosen)
        return;
    setPanelColor(panel, *chosen);
    changed();
}

void TKonfig::changed()
{
    m_ok->setEnabled(true);
}

Settings TKonfig::chosenSettings() const
{
    Settings s = m_settings;
    s.BarvaKartaTZ = m_cardColor->property(colorProperty).toInt();
    s.BarvaKartaCinnosti = m_activityColor->property(colorProperty).toInt();
    s.DialogUlozit = m_askBeforeSaving->isChecked();
    s.ZaviratFrmTisk = m_closePrintForm->isChecked();
    s.PovolitPrimouEditaciDatumu = m_directDateEditing->isChecked();
    s.hsl = m_passwordAtStart->isChecked();
    return s;
}
