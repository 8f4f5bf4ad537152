#include "uikit/RecordPanel.h"

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"
#include "uikit/Dialogs.h"
#include "uikit/EnterPress.h"
#include "uikit/NavigationIcons.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

struct CommandDefinition
{
    const char* name;
    const char* caption;
    const char* hint;
    QKeySequence shortcut;
};

const CommandDefinition definitions[RecordPanel::CommandCount] = {
    {Akce_NaZacatek, "", "Přechod na první položku", {}},
    {Akce_Vzad, "", "Přechod na předchozí položku", {}},
    {Akce_Vpred, "", "Přechod na následující položku", {}},
    {Akce_NaKonec, "", "Přechod na poslední položku", {}},
    {Akce_Novy, "Nový", "Nový záznam", QKeySequence(Qt::Key_Insert)},
    {Akce_Edit, "Oprava", "Oprava záznamu", {}},
    {Akce_Smazat, "Smazat", "Smazat záznam", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
    {Akce_Ulozit, "Uložit", "Uložit změny", {}},
    {Akce_Storno, "Storno", "Stornovat změny", {}},
};

} // namespace

RecordPanel::RecordPanel(QWidget* owner, Config config) : QObject(owner), m_config(std::move(config))
{
    for (int c = 0; c < CommandCount; ++c) {
        m_actions[c] = makeCommand(owner, QString::fromLatin1(definitions[c].name) + m_config.suffix,
                                   QString::fromUtf8(definitions[c].caption),
                                   QString::fromUtf8(definitions[c].hint), definitions[c].shortcut);
        if (c <= Last)
            m_actions[c]->setIcon(navigationIcon(c));
    }

    DataSet* ds = dataSet();
    onTriggered(m_actions[First], this, [ds] { ds->first(); });
    onTriggered(m_actions[Previous], this, [ds] { ds->prior(); });
    onTriggered(m_actions[Next], this, [ds] { ds->next(); });
    onTriggered(m_actions[Last], this, [ds] { ds->last(); });
    onTriggered(m_actions[New], this, [this, ds] {
        if (m_config.focusOnNew)
            m_config.focusOnNew->setFocus();
        ds->append();
    });
    onTriggered(m_actions[Edit], this, [this, ds] {
        if (m_config.focusOnEdit)
            m_config.focusOnEdit->setFocus();
        ds->edit();
    });
    onTriggered(m_actions[Delete], this, [this] { deleteCurrent(); });
    onTriggered(m_actions[Save], this, [ds] { ds->post(); });
    onTriggered(m_actions[Cancel], this, [ds] { ds->cancel(); });

    connect(m_config.source, &DataSource::stateChanged, this, &RecordPanel::refreshState);
    connect(m_config.source, &DataSource::dataChanged, this, &RecordPanel::refreshData);
    if (m_config.modeLabel)
        m_config.modeLabel->setText(QStringLiteral("La_Rezim"));
    refreshState();
    refreshData();
}

DataSet* RecordPanel::dataSet() const
{
    return m_config.source->dataSet();
}

QAbstractButton* RecordPanel::makeButton(Command command, QWidget* parent) const
{
    QAbstractButton* button;
    const QString name = buttonNameFor(QString::fromLatin1(definitions[command].name)) + m_config.suffix;
    if (command <= Last) {
        auto* tool = new QToolButton(parent);
        tool->setAutoRaise(true);
        tool->setIconSize(QSize(16, 16));
        tool->setFocusPolicy(Qt::NoFocus);
        button = tool;
    } else {
        auto* push = new QPushButton(parent);
        push->setAutoDefault(false); // never the default button of a code-list window
        pressOnEnter(push);
        button = push;
    }
    button->setObjectName(name);
    bindButton(button, m_actions[command]);
    return button;
}

QString RecordPanel::modeText(DataSet* ds)
{
    switch (ds->state()) {
    case DataSet::State::Browse:
        return QStringLiteral("[Prohlížení]");
    case DataSet::State::Edit:
        return QStringLiteral("[Editace]");
    case DataSet::State::Insert:
        return QStringLiteral("[Vkládání]");
    case DataSet::State::Closed:
        break;
    }
    return QString();
}

QString RecordPanel::deleteQuestionFor(const QString& name)
{
    return QStringLiteral("Opravdu chcete odstranit záznam \"") + name + QStringLiteral("\" ?");
}

void RecordPanel::refreshState()
{
    DataSet* ds = dataSet();
    const bool browsing = ds->state() == DataSet::State::Browse;
    if (m_config.modeLabel && ds->isOpen())
        m_config.modeLabel->setText(modeText(ds));
    m_actions[New]->setEnabled(browsing);
    m_actions[Edit]->setEnabled(browsing);
    m_actions[Delete]->setEnabled(browsing);
    m_actions[Save]->setEnabled(ds->isEditing());
    m_actions[Cancel]->setEnabled(ds->isEditing());
}

void RecordPanel::refreshData()
{
    DataSet* ds = dataSet();
    const int n = ds->recNo();
    const int m = ds->recordCount();
    if (m_config.counterLabel)
        m_config.counterLabel->setText(QStringLiteral("%1 z %2").arg(n).arg(m));
    m_actions[First]->setEnabled(n > 1);
    m_actions[Previous]->setEnabled(n > 1);
    m_actions[Next]->setEnabled(n < m && m > 0);
    m_actions[Last]->setEnabled(n < m && m > 0);
    const bool editable = m >= 1 && ds->state() == DataSet::State::Browse;
    m_actions[Edit]->setEnabled(editable);
    m_actions[Delete]->setEnabled(editable);
}

void RecordPanel::deleteCurrent()
{
    DataSet* ds = dataSet();
    if (m_config.deleteGuard && !m_config.deleteGuard())
        return;
    if (ds->state() == DataSet::State::Edit) {
        ShowInfo(QStringLiteral("Odstranění záznamu v režimu Editace není možné."));
        return;
    }
    if (ds->state() == DataSet::State::Insert) {
        ShowInfo(QStringLiteral("Odstranění záznamu v režimu Vkládání není možné."));
        return;
    }
    if (AskQuestion(QStringLiteral("Varování"), m_config.deleteQuestion(), QuestionKind::YesNoWarning) !=
        Answer::Yes)
        return;
    if (m_config.deleteRow)
        m_config.deleteRow();
    else
        ds->deleteRecord();
}
