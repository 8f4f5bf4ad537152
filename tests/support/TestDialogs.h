#pragma once

#include "uikit/DialogBackend.h"

#include <QList>
#include <QQueue>
#include <functional>

// What a text window was asked for, but its text, as one line for one comparison:
// QCOMPARE(windowLayout(shown), windowLayout({.caption = ..., .width = ...})).
QString windowLayout(const TextWindowOptions& options);
// The window the card and the activity listings are shown in.
TextWindowOptions recordListingWindow(const QString& caption);

struct DialogCall
{
    MessageKind kind = MessageKind::Plain; // of a message
    std::optional<QuestionKind> question;  // of a question
    QString caption;
    QString text;
};

// Stands in for every dialog while it lives: records each message and question with its
// caption and exact text, answers from queues, and fails the test for a message that the
// test did not take or a question it did not answer.
class TestDialogs : public DialogBackend
{
public:
    TestDialogs();
    ~TestDialogs() override;

    // Answers, used in the order they were queued.
    void answerQuestion(Answer answer) { m_answers.enqueue(answer); }
    void answerInput(std::optional<QString> text) { m_inputs.enqueue(std::move(text)); }
    void answerDate(std::optional<QDate> date) { m_dates.enqueue(date); }
    void answerSaveFile(std::optional<FileChoice> choice) { m_saves.enqueue(std::move(choice)); }
    void answerOpenFile(std::optional<QString> path) { m_opens.enqueue(std::move(path)); }
    void answerColor(std::optional<int> color) { m_colors.enqueue(color); }
    // What to do with the next modal window; returns its result code.
    void onModal(std::function<int(QDialog&)> handler) { m_modals.enqueue(std::move(handler)); }

    // Takes the oldest recorded message or question; fails the test when there is none.
    DialogCall take();
    // Takes the oldest call and checks it.
    bool takeMessage(MessageKind kind, const QString& caption, const QString& text);
    bool takeQuestion(QuestionKind kind, const QString& caption, const QString& text);
    int pending() const { return int(m_calls.size()); }
    void clear() { m_calls.clear(); }

    QList<TextWindowOptions> textWindows;
    QList<QString> shellTargets;
    QList<QPoint> datePositions;
    QList<QString> inputCaptions;
    QList<bool> inputsMasked;

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

    // What the last file dialogs were asked.
    QString lastSaveFilter, lastSaveSuggestion, lastSaveSuffix;
    QString lastOpenTitle, lastOpenFilter, lastOpenInitialName;

private:
    void fail(const QString& why);

    DialogBackend* m_previous;
    QList<DialogCall> m_calls;
    QQueue<Answer> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<std::optional<QDate>> m_dates;
    QQueue<std::optional<FileChoice>> m_saves;
    QQueue<std::optional<QString>> m_opens;
    QQueue<std::optional<int>> m_colors;
    QQueue<std::function<int(QDialog&)>> m_modals;
};
