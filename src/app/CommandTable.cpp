#include "app/CommandTable.h"

#include "uikit/CommandNames.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>

namespace {

struct CommandDefinition
{
    const char* name;
    const char* caption;
    QKeySequence shortcut;
};

const CommandDefinition commands[] = {
    {Akce_OtevritZakaznika, "Otevřít zákazníka", QKeySequence(Qt::CTRL | Qt::Key_O)},
    {Akce_ZavritZakaznika, "Zavřít zákazníka", QKeySequence(Qt::CTRL | Qt::Key_W)},
    {Akce_OtevritTZ, "Otevřít TZ", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
    {Akce_Konec, "Konec", QKeySequence()},
    {Akce_UdajeUzivatele, "Údaje uživatele", QKeySequence()},
    {Akce_CiselnikZakazniku, "Číselník zákazníků", QKeySequence()},
    {Akce_CiselnikCinnosti, "Číselnik činností", QKeySequence()},
    {Akce_CiselnikKategorii, "Číselník kategorií", QKeySequence()},
    {Akce_CiselnikTechniku, "Číselník techniků", QKeySequence()},
    {Akce_DomovskaStranka, "Domovská stránka (on-line)", QKeySequence()},
    {Akce_OProgramu, "O programu", QKeySequence()},
    {Akce_ZmenaHesla, "Změna hesla", QKeySequence()},
    {Akce_Konfig, "Nastavení prostředí", QKeySequence()},
    {Akce_Tisk, "Tisk", QKeySequence(Qt::CTRL | Qt::Key_P)},
    {Akce_ImportZakazniku, "Import zákazníků", QKeySequence()},
    {Akce_PlanRevizi, "Plán revizí", QKeySequence(Qt::CTRL | Qt::Key_R)},
    {Akce_ZalohovatDatabazi, "Zálohovat databázi…", QKeySequence()},
    {Akce_ObnovitZeZalohy, "Obnovit ze zálohy…", QKeySequence()},
    {Akce_UctyTechniku, "Účty techniků…", QKeySequence()},
};

struct MenuDefinition
{
    const char* name;
    const char* caption;
    QList<const char*> items; // nullptr is a separator
};

const MenuDefinition menus[] = {
    {"HMenu_Soubor",
     "Soubor",
     {Akce_OtevritTZ, Akce_OtevritZakaznika, Akce_ZavritZakaznika, Akce_PlanRevizi, nullptr, Akce_Konec}},
    {"HMenu_Servis",
     "Servis",
     {Akce_UdajeUzivatele, nullptr, Akce_CiselnikZakazniku, Akce_CiselnikKategorii, Akce_CiselnikCinnosti,
      Akce_CiselnikTechniku, Akce_UctyTechniku, nullptr, Akce_Tisk, nullptr, Akce_ZmenaHesla, Akce_Konfig,
      nullptr, Akce_ImportZakazniku, nullptr, Akce_ZalohovatDatabazi, Akce_ObnovitZeZalohy}},
    {"HMenu_Napoveda", "Nápověda", {Akce_DomovskaStranka, Akce_OProgramu}},
};

} // namespace

CommandTable::CommandTable(QObject* owner)
{
    for (const CommandDefinition& definition : commands) {
        auto* action = new QAction(QString::fromUtf8(definition.caption), owner);
        action->setObjectName(QString::fromLatin1(definition.name));
        action->setShortcut(definition.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        m_actions.insert(action->objectName(), action);
    }
}

QAction* CommandTable::action(const QString& name) const
{
    return m_actions.value(name);
}

void CommandTable::buildMenu(QMenuBar* menuBar) const
{
    menuBar->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuDefinition& definition : menus) {
        QMenu* menu = menuBar->addMenu(QString::fromUtf8(definition.caption));
        menu->setObjectName(QString::fromLatin1(definition.name));
        for (const char* item : definition.items) {
            if (item)
                menu->addAction(action(QString::fromLatin1(item)));
            else
                menu->addSeparator();
        }
    }
}
