#include "uikit/AppContext.h"

#include <QDir>
#include <QWidget>

AppContext::AppContext(const QString& programDirectory)
{
    QString dir = QDir::cleanPath(QDir(programDirectory).absolutePath());
    if (!dir.endsWith(u'/'))
        dir += u'/';
    AdresarProgramu = dir;
}

void Placement::applyTo(QWidget* window, const QSize& defaultSize) const
{
    window->resize(width == -1 ? defaultSize.width() : width, height == -1 ? defaultSize.height() : height);
    if (left != -1 && top != -1)
        window->move(left, top);
}

void Placement::takeFrom(const QWidget* window)
{
    left = window->x();
    top = window->y();
    width = window->width();
    height = window->height();
}

int Placement::columnWidth(int column, int defaultWidth) const
{
    const int remembered = columnWidths.value(column, -1);
    return remembered == -1 ? defaultWidth : remembered;
}
