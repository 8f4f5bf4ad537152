#pragma once

#include <QList>
#include <QString>

class AnchorLayout;
class DataSource;
class DBEdit;
class DBGrid;
class DBMemo;
class QAction;
class QLabel;
class QPushButton;
class QWidget;
class RecordPanel;

// The common layout of the two record panels of the main window: the caption at the top
// left, the five editing buttons under it, the mode label at the top right, a narrow grid
// on the left that stretches with the panel's height, the fields right of it (each with
// its caption above), and at the bottom the navigation buttons, the counter and the
// listing button.
class RecordPanelLayout
{
public:
    RecordPanelLayout(QWidget* panel, DataSource* source, int designWidth, const QString& caption,
                      const QString& captionName);

    QLabel* modeLabel(const QString& name);
    DBGrid* grid(const QString& name, const QString& column, const QString& title);
    QLabel* counterLabel(const QString& name);

    // A caption label La_<column> at (x, labelY) and an edit Ed_<column> 14 pixels below.
    DBEdit* edit(const QString& caption, const QString& column, int x, int labelY, int width);
    // A caption label and a given control under it.
    QLabel* field(const QString& caption, const QString& labelName, QWidget* control, int x, int labelY,
                  int width);
    // The note: a caption label and a memo that grows with the panel's height.
    DBMemo* memo(const QString& caption, const QString& labelName, const QString& memoName,
                 const QString& column, int x, int labelY, int width, int height);
    QPushButton* button(const QString& name, const QString& caption, int x, int y, int width,
                        int height = 25);

    // The editing buttons at the top, the navigation buttons and the listing button (and an
    // extra command's button beside it) at the bottom; none of them is a tab stop.
    void commands(RecordPanel* panel, QAction* listing, QAction* extra = nullptr);

    void tabOrder(const QList<QWidget*>& widgets);

private:
    QWidget* m_panel;
    DataSource* m_source;
    AnchorLayout* m_layout;
};
