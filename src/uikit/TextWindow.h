#pragma once

#include "uikit/DialogBackend.h"

#include <QDialog>

class QPlainTextEdit;

// A window that shows a block of text in one field; it has no buttons and closes with its
// close box.
class TextWindow : public QDialog
{
    Q_OBJECT
public:
    explicit TextWindow(const TextWindowOptions& options, QWidget* parent = nullptr);

    QPlainTextEdit* textField() const { return m_text; }

private:
    QPlainTextEdit* m_text;
};
