#pragma once

#include "uikit/DialogBackend.h"

#include <QTextStream>
#include <cstdlib>

// A measurement runs unattended: any dialog the program would show means the case went
// wrong, so its text is printed and the run stops instead of waiting for a click nobody
// makes.
class NoDialogs : public DialogBackend
{
public:
    void message(MessageKind, const QString& caption, const QString& text) override { stop(caption, text); }
    Answer question(const QString& caption, const QString& text, QuestionKind) override
    {
        stop(caption, text);
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt, bool) override
    {
        stop(caption, prompt);
    }
    std::optional<QDate> pickDate(const QDate&, const QString& caption, const QPoint&) override
    {
        stop(caption, QStringLiteral("date dialog"));
    }
    void showText(const TextWindowOptions& options) override { stop(options.caption, options.text); }
    bool shellOpen(const QString& target) override { stop(QStringLiteral("shell"), target); }
    std::optional<FileChoice> saveFile(QWidget*, const QString&, const QString& suggestedName,
                                       const QString&) override
    {
        stop(QStringLiteral("save dialog"), suggestedName);
    }
    std::optional<QString> openFile(QWidget*, const QString& title, const QString&, const QString&) override
    {
        stop(title, QStringLiteral("open dialog"));
    }
    std::optional<int> pickColor(QWidget*, int) override { stop(QStringLiteral("colour dialog"), QString()); }
    int runModal(QDialog&) override { stop(QStringLiteral("modal window"), QString()); }

private:
    [[noreturn]] static void stop(const QString& caption, const QString& text)
    {
        QTextStream(stderr) << "vestibor_bench: the program showed a dialog \"" << caption << "\": " << text
                            << "\n";
        std::exit(3);
    }
};
