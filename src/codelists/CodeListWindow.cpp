#include "codelists/CodeListWindow.h"

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "uikit/AppContext.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

CodeListWindow::CodeListWindow(AppContext& context, const QString& objectName, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(objectName);
    m_dataSet = new DataSet(context.connection, QStringLiteral("ADODataSet1"), this);
    m_source = new DataSource(m_dataSet, QStringLiteral("DataSource1"), this);
    m_export = makeCommand(this, Akce_Export, QStringLiteral("Export"), QStringLiteral("Export tabulky"));
    m_listing =
        makeCommand(this, Akce_Vypis, QStringLiteral("Výpis"), QStringLiteral("Výpis aktuálního záznamu"));
    m_close = makeCommand(this, Akce_Zavrit, QStringLiteral("Zavřít"), QStringLiteral("Zavřít formulář"),
                          QKeySequence(Qt::Key_Escape));
    onTriggered(m_export, this, [this] { exportTable(); });
    onTriggered(m_listing, this, [this] { showListing(); });
    connect(m_close, &QAction::triggered, this, &QDialog::reject);
    addAction(m_close);
}

QAction* CodeListWindow::command(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

RecordPanel* CodeListWindow::createPanel(RecordPanel::Config config)
{
    config.source = m_source;
    m_panel = new RecordPanel(this, std::move(config));
    // The window's one panel owns its shortcut keys.
    addAction(m_panel->action(RecordPanel::New));
    addAction(m_panel->action(RecordPanel::Delete));
    return m_panel;
}

void CodeListWindow::moveOnEnter(QLineEdit* field)
{
    field->installEventFilter(this);
}

bool CodeListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CodeListWindow::settlePendingEdit()
{
    if (!m_dataSet->isEditing())
        return true;
    const Answer answer = AskQuestion(
        QStringLiteral("Pozor!"),
        QStringLiteral(
            "Formulář je v režimu editace. Pokud byly hodnoty záznamu změněny, požadujete jejich uložení?"),
        QuestionKind::YesNoCancel);
    if (answer == Answer::Yes) {
        m_panel->action(RecordPanel::Save)->trigger();
        return !m_dataSet->isEditing();
    }
    if (answer == Answer::No) {
        m_panel->action(RecordPanel::Cancel)->trigger();
        return !m_dataSet->isEditing();
    }
    return false;
}

void CodeListWindow::reject()
{
    if (m_closing)
        return;
    m_closing = true;
    bool close = false;
    runGuarded([&] { close = settlePendingEdit(); });
    if (close) {
        runGuarded([&] {
            m_dataSet->close();
            afterClose();
        });
        QDialog::reject();
    }
    m_closing = false;
}
