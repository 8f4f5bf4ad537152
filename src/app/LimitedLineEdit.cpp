#include "app/LimitedLineEdit.h"

LimitedLineEdit::LimitedLineEdit(int limit, QWidget* parent) : QLineEdit(parent), m_limit(limit)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!isModified())
            m_accepted = text; // set by the program
    });
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.size() > m_limit && text.size() > m_accepted.size()) {
            const int cursor = cursorPosition() - int(text.size() - m_accepted.size());
            setText(m_accepted);
            setCursorPosition(std::max(0, cursor));
            return;
        }
        m_accepted = text;
    });
}
