#include "uikit/TextWindow.h"

#include "uikit/FixedDialog.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TextWindow::TextWindow(const TextWindowOptions& options, QWidget* parent) : QDialog(parent)
{
    setUpFixedDialog(*this, QStringLiteral("TextWindow"), options.caption,
                     QSize(options.width, options.height));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Memo1"));
    m_text->setLineWrapMode(options.wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const bool horizontal =
        options.scrollBars == TextScrollBars::Both || options.scrollBars == TextScrollBars::HorizontalOnly;
    const bool vertical =
        options.scrollBars == TextScrollBars::Both || options.scrollBars == TextScrollBars::VerticalOnly;
    m_text->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_text->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (options.fixedFont) {
        QFont font(QStringLiteral("Courier New"), 10);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        m_text->setFont(font);
    }
    m_text->setReadOnly(options.readOnly);
    QString shown = options.text;
    m_text->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
}
