#pragma once

#include <functional>

class AppContext;
class QWidget;

// The commands of the Service menu that change the program's own data: the environment
// settings, the user's data, the start-up password, the import of customers, and the
// technicians' web accounts.
class ServiceCommands
{
public:
    // applySettings puts new settings in force in the window; dataWritten tells that the
    // import has written customers; window is the dialogs' parent.
    ServiceCommands(AppContext& context, QWidget* window, std::function<void()> applySettings,
                    std::function<void()> dataWritten);

    void changeSettings();
    void changeUserData();
    void changePassword();
    void importCustomers();
    void manageWebAccounts();

private:
    AppContext& m_context;
    QWidget* m_window;
    std::function<void()> m_applySettings;
    std::function<void()> m_dataWritten;
};
