#include "uikit/AnchorLayout.h"

#include <QWidget>

AnchorLayout::AnchorLayout(QWidget* parent, const QSize& designSize)
    : QLayout(parent), m_designSize(designSize)
{
    setContentsMargins(0, 0, 0, 0);
}

AnchorLayout::~AnchorLayout()
{
    for (const Entry& e : std::as_const(m_entries))
        delete e.item;
}

QWidget* AnchorLayout::place(QWidget* widget, const QRect& designRect, int anchors)
{
    addChildWidget(widget);
    m_entries.append({new QWidgetItem(widget), designRect, anchors, false});
    invalidate();
    return widget;
}

void AnchorLayout::addItem(QLayoutItem* item)
{
    m_entries.append({item, QRect(QPoint(0, 0), item->sizeHint()), TopLeft, true});
}

QLayoutItem* AnchorLayout::itemAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries[index].item : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return nullptr;
    return m_entries.takeAt(index).item;
}

int AnchorLayout::count() const
{
    return int(m_entries.size());
}

QSize AnchorLayout::sizeHint() const
{
    return m_designSize;
}

QSize AnchorLayout::minimumSize() const
{
    return QSize(0, 0);
}

void AnchorLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const int dw = rect.width() - m_designSize.width();
    const int dh = rect.height() - m_designSize.height();
    for (Entry& e : m_entries) {
        QRect r = e.rect;
        if (e.naturalSize)
            r.setSize(e.item->sizeHint());
        if ((e.anchors & Left) && (e.anchors & Right))
            r.setWidth(std::max(0, r.width() + dw));
        else if (e.anchors & Right)
            r.translate(dw, 0);
        if ((e.anchors & Top) && (e.anchors & Bottom))
            r.setHeight(std::max(0, r.height() + dh));
        else if (e.anchors & Bottom)
            r.translate(0, dh);
        // A placed widget gets exactly its rectangle, whatever its size policy and the
        // style's layout margins would make of it.
        if (QWidget* widget = e.item->widget(); widget && !e.naturalSize)
            widget->setGeometry(r.translated(rect.topLeft()));
        else
            e.item->setGeometry(r.translated(rect.topLeft()));
    }
}
