#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

// The text listing of the record on screen: one "caption: value" line per field, built
// from what the labels and controls show at this moment (unsaved changes included),
// lines joined by CR LF, no line break after the last one.
class RecordListing
{
public:
    // A line "<label's caption>: <control's text><suffix>".
    RecordListing& line(const QLabel* label, const QWidget* control, const QString& suffix = QString());
    // A line made of a literal beginning and a value.
    RecordListing& literal(const QString& beginning, const QString& value);
    // The note: its caption and ": " on a line of its own, then the note's text.
    RecordListing& note(const QLabel* label, const QWidget* memo);

    QString text() const { return m_lines.join(QStringLiteral("\r\n")); }

    // Shows a listing in the text window that the card and the activity listings share.
    static void show(const QString& caption, const QString& text);

    // The text a control shows: an edit's text, a list's chosen item, a memo's lines.
    static QString shownText(const QWidget* control);

private:
    QStringList m_lines;
};
