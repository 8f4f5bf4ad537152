#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>

class QAbstractButton;
class QAction;
class QObject;

// A command of a window: an action with a caption, a hint and an optional shortcut. Its
// handler runs guarded: an error no one handles goes to the general error report.
QAction* makeCommand(QObject* owner, const QString& name, const QString& caption, const QString& hint,
                     const QKeySequence& shortcut = QKeySequence());

// Connects a handler to an action, guarded.
void onTriggered(QAction* action, QObject* context, std::function<void()> handler);

// A button that only points to its command: it shows the command's caption or picture,
// its hint as a tooltip and its enabled state, and a click executes the command. The
// command's shortcut is not registered by the button.
void bindButton(QAbstractButton* button, QAction* action);

// The object name of a command's button: the command's name with "Tl_" in place of "Akce_".
QString buttonNameFor(const QString& commandName);
