#include "support/TestDialogs.h"

#include <QDialog>
#include <QTest>

namespace {
const char* kindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Plain:
        return "plain";
    case MessageKind::Info:
        return "info";
    case MessageKind::Warning:
        return "warning";
    case MessageKind::Error:
        return "error";
    }
    return "?";
}

QString describe(const DialogCall& call)
{
    return call.question ? QStringLiteral("question %1").arg(int(*call.question))
                         : QString::fromLatin1(kindName(call.kind));
}
} // namespace

QString windowLayout(const TextWindowOptions& o)
{
    return QStringLiteral("\"%1\" %2x%3, wrap %4, scroll bars %5, fixed font %6, read-only %7")
        .arg(o.caption)
        .arg(o.width)
        .arg(o.height)
        .arg(o.wordWrap)
        .arg(int(o.scrollBars))
        .arg(o.fixedFont)
        .arg(o.readOnly);
}

TextWindowOptions recordListingWindow(const QString& caption)
{
    return {.caption = caption,
            .width = 550,
            .height = 460,
            .scrollBars = TextScrollBars::None,
            .fixedFont = true};
}

TestDialogs::TestDialogs() : m_previous(setDialogBackend(this)) {}

TestDialogs::~TestDialogs()
{
    setDialogBackend(m_previous);
    for (const DialogCall& call : std::as_const(m_calls))
        fail(QStringLiteral("a dialog the test did not take: [%1] %2").arg(call.caption, call.text));
    if (!m_answers.isEmpty() || !m_inputs.isEmpty() || !m_dates.isEmpty() || !m_saves.isEmpty() ||
        !m_opens.isEmpty() || !m_colors.isEmpty() || !m_modals.isEmpty())
        fail(QStringLiteral("queued answers that no dialog asked for"));
}

void TestDialogs::fail(const QString& why)
{
    QTest::qFail(why.toUtf8().constData(), __FILE__, __LINE__);
}

DialogCall TestDialogs::take()
{
    if (m_calls.isEmpty()) {
        fail(QStringLiteral("expected a dialog, none was shown"));
        return {};
    }
    return m_calls.takeFirst();
}

bool TestDialogs::takeMessage(MessageKind kind, const QString& caption, const QString& text)
{
    const DialogCall call = take();
    if (call.question || call.kind != kind || call.caption != caption || call.text != text) {
        fail(QStringLiteral("expected %1 [%2] \"%3\", got %4 [%5] \"%6\"")
                 .arg(QString::fromLatin1(kindName(kind)), caption, text, describe(call), call.caption,
                      call.text));
        return false;
    }
    return true;
}

bool TestDialogs::takeQuestion(QuestionKind kind, const QString& caption, const QString& text)
{
    const DialogCall call = take();
    if (call.question != kind || call.caption != caption || call.text != text) {
        fail(QStringLiteral("expected question %1 [%2] \"%3\", got %4 [%5] \"%6\"")
                 .arg(int(kind))
                 .arg(caption, text, describe(call), call.caption, call.text));
        return false;
    }
    return true;
}

void TestDialogs::message(MessageKind kind, const QString& caption, const QString& text)
{
    m_calls.append({kind, std::nullopt, caption, text});
}

Answer TestDialogs::question(const QString& caption, const QString& text, QuestionKind kind)
{
    m_calls.append({MessageKind::Plain, kind, caption, text});
    if (m_answers.isEmpty()) {
        fail(QStringLiteral("unanswered question: ") + text);
        return Answer::No;
    }
    return m_answers.dequeue();
}

std::optional<QString> TestDialogs::inputText(const QString& caption, const QString&, bool masked)
{
    inputCaptions.append(caption);
    inputsMasked.append(masked);
    if (m_inputs.isEmpty()) {
        fail(QStringLiteral("unanswered input box: ") + caption);
        return std::nullopt;
    }
    return m_inputs.dequeue();
}

std::optional<QDate> TestDialogs::pickDate(const QDate&, const QString&, const QPoint& topLeft)
{
    datePositions.append(topLeft);
    if (m_dates.isEmpty()) {
        fail(QStringLiteral("unanswered date picker"));
        return std::nullopt;
    }
    return m_dates.dequeue();
}

void TestDialogs::showText(const TextWindowOptions& options)
{
    textWindows.append(options);
}

bool TestDialogs::shellOpen(const QString& target)
{
    shellTargets.append(target);
    return true;
}

std::optional<FileChoice> TestDialogs::saveFile(QWidget*, const QString& filter, const QString& suggestedName,
                                                const QString& defaultSuffix)
{
    lastSaveFilter = filter;
    lastSaveSuggestion = suggestedName;
    lastSaveSuffix = defaultSuffix;
    if (m_saves.isEmpty()) {
        fail(QStringLiteral("unanswered save dialog"));
        return std::nullopt;
    }
    return m_saves.dequeue();
}

std::optional<QString> TestDialogs::openFile(QWidget*, const QString& title, const QString& filter,
                                             const QString& initialName)
{
    lastOpenTitle = title;
    lastOpenFilter = filter;
    lastOpenInitialName = initialName;
    if (m_opens.isEmpty()) {
        fail(QStringLiteral("unanswered open dialog"));
        return std::nullopt;
    }
    return m_opens.dequeue();
}

std::optional<int> TestDialogs::pickColor(QWidget*, int)
{
    if (m_colors.isEmpty()) {
        fail(QStringLiteral("unanswered colour dialog"));
        return std::nullopt;
    }
    return m_colors.dequeue();
}

int TestDialogs::runModal(QDialog& dialog)
{
    if (m_modals.isEmpty()) {
        fail(QStringLiteral("unexpected modal window ") + dialog.objectName());
        return QDialog::Rejected;
    }
    dialog.show();
    const int result = m_modals.dequeue()(dialog);
    dialog.hide();
    return result;
}
