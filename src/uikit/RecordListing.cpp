#include "uikit/RecordListing.h"

#include "uikit/Dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

QString RecordListing::shownText(const QWidget* control)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentIndex() >= 0 ? combo->currentText() : QString();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control))
        return memo->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    return QString();
}

RecordListing& RecordListing::line(const QLabel* label, const QWidget* control, const QString& suffix)
{
    m_lines << label->text() + QStringLiteral(": ") + shownText(control) + suffix;
    return *this;
}

RecordListing& RecordListing::literal(const QString& beginning, const QString& value)
{
    m_lines << beginning + value;
    return *this;
}

RecordListing& RecordListing::note(const QLabel* label, const QWidget* memo)
{
    // Without a note the caption line is the last one, with no line break after it.
    const QString text = shownText(memo);
    m_lines << label->text() + QStringLiteral(": ");
    if (!text.isEmpty())
        m_lines << text;
    return *this;
}

void RecordListing::show(const QString& caption, const QString& text)
{
    ShowTextWindow({.caption = caption,
                    .text = text,
                    .width = 550,
                    .height = 460,
                    .scrollBars = TextScrollBars::None,
                    .fixedFont = true});
}
