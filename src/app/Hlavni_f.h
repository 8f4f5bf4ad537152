#pragma once

#include "records/CustomerRecords.h"
#include "uikit/AppContext.h"

#include <QMainWindow>
#include <memory>

class ActivityPanel;
class CardPanel;
class CommandTable;
class DatabaseBackups;
class DataSet;
class OpenCustomer;
class PlanLink;
class QAction;
class QFrame;
class QLabel;
class ServiceCommands;
class TPlanRevizi;

// The main window: it owns the run state with the database connection and the records it
// works on, hosts the toolbar and the two record panels, and carries the main menu, whose
// commands it routes to the classes that do the work: the open customer, the plan, the
// backups and the service commands. Its creation runs the start-up sequence; every way of
// closing it runs the shutdown.
class THlavni : public QMainWindow
{
    Q_OBJECT
public:
    explicit THlavni(const QString& programDirectory, QWidget* parent = nullptr);
    ~THlavni() override;

    // The start-up sequence; false when the program must end (its message has been shown).
    bool FormCreate();
    bool startedOk() const { return m_started; }

    AppContext& context() { return m_context; }
    CustomerRecords& records() { return m_records; }
    QAction* action(const QString& name) const;
    CardPanel* cardPanel() const { return m_cardPanel; }
    ActivityPanel* activityPanel() const { return m_activityPanel; }

    // Opens in the main window the customer whose id is in IdOtevrenehoZakaznika, on the
    // card with that id when it is the customer's, else on the first card.
    void OtevritZakaznikaId(int cardId = 0);
    // Saves pending edits (activity first, then card) and closes the customer; false when
    // a save was refused and the customer stays open.
    bool closeCustomer();
    // F5: reads the open customer's cards and activities again, keeping the current card;
    // pending edits are saved first.
    void reloadOpenCustomer();
    // Insert and Ctrl+Del: the card panel's command when it is enabled, else the activity
    // panel's.
    void dispatchSharedKey(const QKeySequence& key);

    // The revision plan window, opened when not open yet; overdueOnly shows the overdue
    // sources. Null when the database lacks the plan's tables.
    TPlanRevizi* openPlan(bool overdueOnly);
    // Opens the customer from the plan with the card current; false when the user kept
    // the open customer or the customer no longer exists.
    bool openCardFromPlan(int customerId, int cardId);
    // Counts the overdue sources of watched customers again for the toolbar.
    void recountOverdue();
    QLabel* overdueLabel() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildToolbar();
    void connectCommands();
    template <class Window, class... Extra> void runCodeList(DataSet* lookupToReload, Extra... extra);
    void applySettings();
    bool FormCloseQuery();
    // The shutdown; it runs once, whether a close of the window or a restore runs it.
    void FormClose();

    AppContext m_context;
    CustomerRecords m_records;
    std::unique_ptr<CommandTable> m_commands;
    bool m_started = false;
    bool m_ended = false; // the shutdown has run

    QFrame* m_toolbar = nullptr;
    CardPanel* m_cardPanel = nullptr;
    ActivityPanel* m_activityPanel = nullptr;
    QLabel* m_openCustomerLabel = nullptr;

    std::unique_ptr<OpenCustomer> m_customer;
    std::unique_ptr<PlanLink> m_planLink;
    std::unique_ptr<DatabaseBackups> m_backups;
    std::unique_ptr<ServiceCommands> m_service;
};
