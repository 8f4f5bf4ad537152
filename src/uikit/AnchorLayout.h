#pragma once

#include <QLayout>
#include <QList>
#include <QRect>

// Places widgets at the positions of the window's design and moves or stretches them with
// the edges they are anchored to when the window is resized.
class AnchorLayout : public QLayout
{
public:
    enum Anchor
    {
        Left = 1,
        Top = 2,
        Right = 4,
        Bottom = 8,
        TopLeft = Left | Top,
        TopRight = Top | Right,
        BottomLeft = Left | Bottom,
        BottomRight = Right | Bottom,
        LeftTopBottom = Left | Top | Bottom,
        All = Left | Top | Right | Bottom,
    };

    // designSize: the size of the parent at design, from which the anchors measure.
    AnchorLayout(QWidget* parent, const QSize& designSize);
    ~AnchorLayout() override;

    QWidget* place(QWidget* widget, const QRect& designRect, int anchors = TopLeft);
    QWidget* place(QWidget* widget, int x, int y, int width, int height, int anchors = TopLeft)
    {
        return place(widget, QRect(x, y, width, height), anchors);
    }

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry
    {
        QLayoutItem* item;
        QRect rect;
        int anchors;
        bool naturalSize;
    };
    QList<Entry> m_entries;
    QSize m_designSize;
};
