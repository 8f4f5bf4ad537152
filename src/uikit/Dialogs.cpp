#include "uikit/Dialogs.h"

#include "uikit/DialogBackend.h"

#include <QUrl>

QString applicationTitle()
{
    return QStringLiteral("Vestibor");
}

namespace {
QString captionOr(const QString& caption)
{
    return caption.isEmpty() ? applicationTitle() : caption;
}
} // namespace

void ShowPlainMessage(const QString& text)
{
    dialogBackend().message(MessageKind::Plain, applicationTitle(), text);
}

void ShowInfo(const QString& text)
{
    ShowInfo(QString(), text);
}

void ShowInfo(const QString& caption, const QString& text)
{
    dialogBackend().message(MessageKind::Info, captionOr(caption), text);
}

void ShowWarning(const QString& text)
{
    ShowWarning(QString(), text);
}

void ShowWarning(const QString& caption, const QString& text)
{
    dialogBackend().message(MessageKind::Warning, captionOr(caption), text);
}

Answer AskQuestion(const QString& text, QuestionKind kind)
{
    return AskQuestion(QString(), text, kind);
}

Answer AskQuestion(const QString& caption, const QString& text, QuestionKind kind)
{
    return dialogBackend().question(captionOr(caption), text, kind);
}

bool PickDate(QDate& date, const QString& caption, int left, int top)
{
    const std::optional<QDate> picked = dialogBackend().pickDate(date, caption, QPoint(left, top));
    if (!picked || *picked == date)
        return false;
    date = *picked;
    return true;
}

void ShowTextWindow(TextWindowOptions options)
{
    options.caption = captionOr(options.caption);
    dialogBackend().showText(options);
}

bool ShellOpen(const QString& target, const QString& parameters)
{
    if (target.isEmpty())
        return false;
    return dialogBackend().shellOpen(parameters.isEmpty() ? target : target + u' ' + parameters);
}

std::optional<QString> inputBox(const QString& caption, const QString& prompt)
{
    return dialogBackend().inputText(caption, prompt, false);
}

std::optional<QString> passwordBox(const QString& caption, const QString& prompt)
{
    return dialogBackend().inputText(caption, prompt, true);
}

int runModal(QDialog& dialog)
{
    return dialogBackend().runModal(dialog);
}

void showErrorReport(const QString& text)
{
    dialogBackend().message(MessageKind::Error, applicationTitle(), text);
}
