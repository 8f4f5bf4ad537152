#include "uikit/Commands.h"

#include "uikit/Guard.h"

#include <QAbstractButton>
#include <QAction>

QAction* makeCommand(QObject* owner, const QString& name, const QString& caption, const QString& hint,
                     const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void onTriggered(QAction* action, QObject* context, std::function<void()> handler)
{
    QObject::connect(action, &QAction::triggered, context,
                     [handler = std::move(handler)] { runGuarded(handler); });
}

void bindButton(QAbstractButton* button, QAction* action)
{
    const auto sync = [button, action] {
        if (action->icon().isNull())
            button->setText(action->text());
        else
            button->setIcon(action->icon());
        button->setToolTip(action->toolTip());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] {
        if (action->isEnabled())
            action->trigger();
    });
}

QString buttonNameFor(const QString& commandName)
{
    static const QString commandPrefix = QStringLiteral("Akce_");
    if (!commandName.startsWith(commandPrefix))
        return commandName;
    return QStringLiteral("Tl_") + commandName.mid(commandPrefix.size());
}
