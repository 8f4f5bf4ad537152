#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;
class QObject;

// The commands of the main menu (Akce_Menu) with their captions and shortcuts, and the
// menu that shows them.
class CommandTable
{
public:
    explicit CommandTable(QObject* owner);

    QAction* action(const QString& name) const;
    void buildMenu(QMenuBar* menuBar) const;

private:
    QHash<QString, QAction*> m_actions;
};
