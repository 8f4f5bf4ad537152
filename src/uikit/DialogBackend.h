#pragma once

#include <QDate>
#include <QPoint>
#include <QString>
#include <optional>

class QDialog;
class QWidget;

enum class MessageKind
{
    Plain,
    Info,
    Warning,
    Error
};

// The buttons and the icon of a question; No is always preselected. The values are the
// numbers these kinds have always had.
enum class QuestionKind
{
    YesNo = 1,
    YesNoWarning = 2,
    YesNoCancel = 3,
    YesNoCancelWarning = 4
};

// The answer to a question, as the platform's answer codes.
enum class Answer
{
    Cancel = 2,
    Yes = 6,
    No = 7
};

// The scroll bars of a text window's field; the values are the numbers these choices have
// always had.
enum class TextScrollBars
{
    Both = 0,
    HorizontalOnly = 1,
    None = 2,
    VerticalOnly = 3
};

// A text window, given with designated initializers: ShowTextWindow({.caption = ...}).
struct TextWindowOptions
{
    QString caption = {}; // empty: the application title
    QString text = {};
    int width = 0;
    int height = 0;
    bool wordWrap = false;
    TextScrollBars scrollBars = TextScrollBars::None;
    bool fixedFont = false; // "Courier New", 10 points
    bool readOnly = false;
};

struct FileChoice
{
    QString path;
    int filterIndex = 0; // 0-based index of the chosen file type in the filter
};

// Every message, question, input box, file, colour and date dialog, text window, shell
// call and modal window of the program goes through one backend. The program uses the Qt
// backend; tests put in their own, which records each call and answers from a queue.
class DialogBackend
{
public:
    virtual ~DialogBackend() = default;

    virtual void message(MessageKind kind, const QString& caption, const QString& text) = 0;
    virtual Answer question(const QString& caption, const QString& text, QuestionKind kind) = 0;
    // An input box with one line of at most 255 characters, its characters hidden when
    // masked (a password); nothing when cancelled.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt, bool masked) = 0;
    // A calendar at the given screen position; true and the new day when one was confirmed.
    virtual std::optional<QDate> pickDate(const QDate& date, const QString& caption,
                                          const QPoint& topLeft) = 0;
    virtual void showText(const TextWindowOptions& options) = 0;
    virtual bool shellOpen(const QString& target) = 0;
    // The file types in the toolkit's form: "Name (*.ext);;Name (*.ext)".
    virtual std::optional<FileChoice> saveFile(QWidget* owner, const QString& filter,
                                               const QString& suggestedName,
                                               const QString& defaultSuffix) = 0;
    virtual std::optional<QString> openFile(QWidget* owner, const QString& title, const QString& filter,
                                            const QString& initialName) = 0;
    // a colour as the settings store it: red in the lowest byte, then green, then blue
    virtual std::optional<int> pickColor(QWidget* owner, int initial) = 0;
    // Shows one of the program's own modal windows; returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
};

DialogBackend& dialogBackend();
// Installs a backend (not owned) and returns the previous one; nullptr restores the Qt one.
DialogBackend* setDialogBackend(DialogBackend* backend);
