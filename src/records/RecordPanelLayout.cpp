#include "records/RecordPanelLayout.h"

#include "uikit/AnchorLayout.h"
#include "uikit/Commands.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/DBMemo.h"
#include "uikit/RecordPanel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int designHeight = 560;
constexpr int bottomRow = 523;
constexpr int gridWidth = 153;
} // namespace

RecordPanelLayout::RecordPanelLayout(QWidget* panel, DataSource* source, int designWidth,
                                     const QString& caption, const QString& captionName)
    : m_panel(panel), m_source(source), m_layout(new AnchorLayout(panel, QSize(designWidth, designHeight)))
{
    auto* title = new QLabel(caption, panel);
    title->setObjectName(captionName);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    m_layout->place(title, 8, 8, 300, 17);
}

QLabel* RecordPanelLayout::modeLabel(const QString& name)
{
    auto* label = new QLabel(m_panel);
    label->setObjectName(name);
    m_layout->place(label, 410, 38, 80, 17);
    return label;
}

DBGrid* RecordPanelLayout::grid(const QString& name, const QString& column, const QString& title)
{
    auto* grid = new DBGrid(m_panel, name);
    m_layout->place(grid, 8, 64, gridWidth, bottomRow - 8 - 64, AnchorLayout::LeftTopBottom);
    grid->bind(m_source);
    // Both grids of the main window are as wide; the column fills the client area but for
    // room for the vertical scroll bar.
    grid->setColumns({{column, title, gridWidth - 2 * grid->frameWidth() - 18}});
    return grid;
}

QLabel* RecordPanelLayout::counterLabel(const QString& name)
{
    auto* label = new QLabel(QStringLiteral("0 z 0"), m_panel);
    label->setObjectName(name);
    m_layout->place(label, 176, bottomRow + 6, 70, 17, AnchorLayout::BottomLeft);
    return label;
}

QLabel* RecordPanelLayout::field(const QString& caption, const QString& labelName, QWidget* control, int x,
                                 int labelY, int width)
{
    auto* label = new QLabel(caption, m_panel);
    label->setObjectName(labelName);
    m_layout->place(label, x, labelY, std::max(width, label->sizeHint().width()), 14);
    m_layout->place(control, x, labelY + 14, width, 21);
    return label;
}

DBEdit* RecordPanelLayout::edit(const QString& caption, const QString& column, int x, int labelY, int width)
{
    auto* edit = new DBEdit(m_panel, QStringLiteral("Ed_") + column);
    field(caption, QStringLiteral("La_") + column, edit, x, labelY, width);
    edit->bind(m_source, column);
    return edit;
}

DBMemo* RecordPanelLayout::memo(const QString& caption, const QString& labelName, const QString& memoName,
                                const QString& column, int x, int labelY, int width, int height)
{
    auto* label = new QLabel(caption, m_panel);
    label->setObjectName(labelName);
    m_layout->place(label, x, labelY, width, 14);
    auto* memo = new DBMemo(m_panel, memoName);
    m_layout->place(memo, x, labelY + 14, width, height, AnchorLayout::LeftTopBottom);
    memo->bind(m_source, column);
    return memo;
}

QPushButton* RecordPanelLayout::button(const QString& name, const QString& caption, int x, int y, int width,
                                       int height)
{
    auto* button = new QPushButton(caption, m_panel);
    button->setObjectName(name);
    button->setAutoDefault(false);
    m_layout->place(button, x, y, width, height);
    return button;
}

void RecordPanelLayout::commands(RecordPanel* panel, QAction* listing, QAction* extra)
{
    const int editingX[] = {8, 88, 168, 248, 328};
    for (int c = RecordPanel::New; c <= RecordPanel::Cancel; ++c) {
        QAbstractButton* b = panel->makeButton(RecordPanel::Command(c), m_panel);
        b->setFocusPolicy(Qt::NoFocus);
        m_layout->place(b, editingX[c - RecordPanel::New], 32, c == RecordPanel::New ? 73 : 75, 25);
    }
    for (int c = RecordPanel::First; c <= RecordPanel::Last; ++c)
        m_layout->place(panel->makeButton(RecordPanel::Command(c), m_panel), 8 + 38 * c, bottomRow, 39, 25,
                        AnchorLayout::BottomLeft);
    int x = 248;
    for (QAction* action : {listing, extra}) {
        if (!action)
            continue;
        auto* b = new QPushButton(m_panel);
        b->setObjectName(buttonNameFor(action->objectName()));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        bindButton(b, action);
        m_layout->place(b, x, bottomRow, action == listing ? 75 : 95, 25, AnchorLayout::BottomLeft);
        x += 80;
    }
}

void RecordPanelLayout::tabOrder(const QList<QWidget*>& widgets)
{
    for (int i = 0; i + 1 < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i], widgets[i + 1]);
}
