#pragma once

#include "uikit/DialogBackend.h"

// Real dialogs of the toolkit, with Czech buttons.
class QtDialogBackend : public DialogBackend
{
public:
    void message(MessageKind kind, const QString& caption, const QString& text) override;
    Answer question(const QString& caption, const QString& text, QuestionKind kind) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt, bool masked) override;
    std::optional<QDate> pickDate(const QDate& date, const QString& caption, const QPoint& topLeft) override;
    void showText(const TextWindowOptions& options) override;
    bool shellOpen(const QString& target) override;
    std::optional<FileChoice> saveFile(QWidget* owner, const QString& filter, const QString& suggestedName,
                                       const QString& defaultSuffix) override;
    std::optional<QString> openFile(QWidget* owner, const QString& title, const QString& filter,
                                    const QString& initialName) override;
    std::optional<int> pickColor(QWidget* owner, int initial) override;
    int runModal(QDialog& dialog) override;
};
