#pragma once

#include "uikit/DialogBackend.h"

#include <QDate>
#include <QString>
#include <optional>

class QDialog;

// The message, input and formatting helpers every window uses.

QString applicationTitle(); // "Vestibor"

void ShowPlainMessage(const QString& text);
void ShowInfo(const QString& text);
void ShowInfo(const QString& caption, const QString& text);
void ShowWarning(const QString& text);
void ShowWarning(const QString& caption, const QString& text);

// A question with the buttons and the icon of its kind, No preselected.
Answer AskQuestion(const QString& text, QuestionKind kind);
Answer AskQuestion(const QString& caption, const QString& text, QuestionKind kind);

// A calendar dialog at the given screen position. When the user confirms a different
// day, it is written into date and the result is true.
bool PickDate(QDate& date, const QString& caption, int left, int top);

// Shows the text in a modal window without buttons; returns when the user closes it.
void ShowTextWindow(TextWindowOptions options);

// Asks the desktop to open a web address or a mailto: address.
bool ShellOpen(const QString& target, const QString& parameters = QString());

// The platform-style input box: nothing when cancelled.
std::optional<QString> inputBox(const QString& caption, const QString& prompt);
// The same with the typed characters hidden.
std::optional<QString> passwordBox(const QString& caption, const QString& prompt);

// Shows one of the program's modal windows through the dialog backend.
int runModal(QDialog& dialog);

// The general error report: shows the error's own text.
void showErrorReport(const QString& text);
