#include "uikit/LongWork.h"

#include <QApplication>

LongWork::LongWork()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_sinceEvents.start();
}

LongWork::~LongWork()
{
    QApplication::restoreOverrideCursor();
}

void LongWork::step()
{
    if (m_sinceEvents.elapsed() < 30)
        return;
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceEvents.restart();
}
