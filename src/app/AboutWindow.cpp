#include "app/AboutWindow.h"

#include "app/HomePage.h"
#include "uikit/Dialogs.h"
#include "uikit/FixedDialog.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace {

// The home-page address as a link: underlined except while the mouse is over it.
class LinkLabel : public QLabel
{
public:
    LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
    {
        setObjectName(QStringLiteral("La_DomovskaStranka"));
        setCursor(Qt::PointingHandCursor);
        setStyleSheet(QStringLiteral("color: #8B0000;"));
        setUnderlined(true);
    }

protected:
    void enterEvent(QEnterEvent*) override { setUnderlined(false); }
    void leaveEvent(QEvent*) override { setUnderlined(true); }
    void mouseReleaseEvent(QMouseEvent*) override { ShellOpen(QStringLiteral("http://") + text()); }

private:
    void setUnderlined(bool on)
    {
        QFont f = font();
        f.setUnderline(on);
        setFont(f);
    }
};

} // namespace

AboutWindow::AboutWindow(const QString& programVersion, const QString& buildDate,
                         const QString& reportModuleVersion, QWidget* parent)
    : QDialog(parent)
{
    setUpFixedDialog(*this, QStringLiteral("OProgramu"), QStringLiteral("O programu ") + applicationTitle());
    paintBackgroundWhite(*this);

    int y = 24;
    const auto row = [&](const QString& caption, QLabel* value) {
        auto* label = new QLabel(caption, this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setStyleSheet(QStringLiteral("color: #00008B;"));
        label->move(56, y);
        label->adjustSize();
        value->setParent(this);
        value->move(216, y);
        value->adjustSize();
        y += 24;
    };
    auto* version = new QLabel(programVersion + QStringLiteral("     ") + buildDate);
    version->setObjectName(QStringLiteral("La_VerzeProgramu"));
    row(QStringLiteral("Verze programu:"), version);
    if (!reportModuleVersion.isEmpty()) {
        auto* module = new QLabel(reportModuleVersion);
        module->setObjectName(QStringLiteral("La_VerzeTiskovehoModulu"));
        row(QStringLiteral("Verze tiskového modulu:"), module);
    }
    const int homeRow = y;
    row(QStringLiteral("Domovská stránka:"), new LinkLabel(HomePageAddress, nullptr));

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Tl_Ok"));
    ok->setGeometry(376, homeRow + 28, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(486, homeRow + 93);
}
