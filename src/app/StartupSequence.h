#pragma once

class AppContext;
class CustomerRecords;
struct DatabaseSettings;

// The steps of start-up that prepare the run state: the template directory, the settings,
// the start-up password, the database (the file beside the program or the shared server),
// its upgrade and the lookup lists. The main window runs them in their order, with its
// own steps between them; a step that returns false has shown why the program must end.
class StartupSequence
{
public:
    StartupSequence(AppContext& context, CustomerRecords& records);

    bool makeTemplateDirectory();
    void readSettings();
    // Asks for the start-up password when the settings want one.
    bool passPasswordGate();
    bool connectDatabase();
    // Brings the database up to date and opens the lookup lists; a database error here
    // reaches the caller.
    void openDataSets();
    // Whether the database has the plan's tables and views, known once openDataSets has
    // upgraded it.
    bool planAvailable() const { return m_planAvailable; }

private:
    bool connectServer(const DatabaseSettings& database);

    AppContext& m_context;
    CustomerRecords& m_records;
    bool m_planAvailable = false;
};
