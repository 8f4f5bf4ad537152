#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;

// What a long loop over records (export, import, a backup) shows the user: the busy cursor
// for as long as it lives, a window that keeps repainting and, once the work has taken half
// a second, a progress window with what is being done and how many records are done. The
// user's input waits until the work is done, so the rows cannot change under the loop.
class LongWork
{
public:
    // title: what is being done, e.g. "Import zákazníků"; counted: what step() counts
    // (shown as "<counted>: N"; nothing shown when empty).
    explicit LongWork(const QString& title = QString(), const QString& counted = QStringLiteral("Záznamů"));
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // Call after each record: now and then lets the window repaint.
    void step(qint64 done = 1);

    // How long before the progress window shows.
    static constexpr int progressAfterMs = 500;

private:
    void showProgress();

    QString m_title;
    QString m_counted;
    qint64 m_done = 0;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceEvents;
    QPointer<QProgressDialog> m_progress;
};
