#include "uikit/LongWork.h"

#include <QApplication>
#include <QLocale>
#include <QProgressDialog>

LongWork::LongWork(const QString& title, const QString& counted) : m_title(title), m_counted(counted)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_started.start();
    m_sinceEvents.start();
}

LongWork::~LongWork()
{
    delete m_progress;
    QApplication::restoreOverrideCursor();
}

void LongWork::step(qint64 done)
{
    m_done += done;
    if (m_sinceEvents.elapsed() < 30)
        return;
    if (!m_title.isEmpty() && m_started.elapsed() >= progressAfterMs)
        showProgress();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceEvents.restart();
}

void LongWork::showProgress()
{
    if (!m_progress) {
        // No cancel button: the work runs to its end, as it would without the window.
        m_progress = new QProgressDialog(QString(), QString(), 0, 0, QApplication::activeWindow());
        m_progress->setObjectName(QStringLiteral("Dlg_Prubeh"));
        m_progress->setWindowTitle(m_title);
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setMinimumWidth(320);
        m_progress->show();
    }
    m_progress->setLabelText(m_counted.isEmpty()
                                 ? m_title + u'…'
                                 : QStringLiteral("%1…\n%2: %3")
                                       .arg(m_title, m_counted, QLocale(QLocale::Czech).toString(m_done)));
}
