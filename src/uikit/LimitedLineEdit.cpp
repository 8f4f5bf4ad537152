#include "uikit/LimitedLineEdit.h"

LimitedLineEdit::LimitedLineEdit(int limit, QWidget* parent) : QLineEdit(parent), m_limit(limit)
{
    // The text as it stands after every change, by the program or by the user, and the one
    // before it. The text now shown is read instead of the signal's argument, which is stale
    // when the text was put back while the change was being reported.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (text() == m_shown)
            return;
        m_previous = m_shown;
        m_shown = text();
    });
    // An edit by the user; the text before it is the one shown until now, or the one before
    // that when the change has already been recorded above.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& edited) {
        const QString before = edited == m_shown ? m_previous : m_shown;
        if (edited.size() > m_limit && edited.size() > before.size()) {
            const int cursor = cursorPosition() - int(edited.size() - before.size());
            setText(before);
            setCursorPosition(std::max(0, cursor));
        }
    });
}
