#pragma once

#include <QElapsedTimer>

// What a long loop over records (export, import) shows the user: the busy cursor for as
// long as it lives, and a window that keeps repainting. The user's input waits until the
// work is done, so the rows cannot change under the loop.
class LongWork
{
public:
    LongWork();
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // Call after each record: now and then lets the window repaint.
    void step();

private:
    QElapsedTimer m_sinceEvents;
};
