#pragma once

#include <QFrame>

class AppContext;
class CustomerRecords;
class DataSource;
class DBEdit;
class DBLookupCombo;
class DBMemo;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class RecordPanel;
class RecordPanelLayout;
struct Settings;

// The activities of the current card (Panel_Cinnosti): a record panel over DS_Cin with the
// date buttons, the technician menu and the four prices. A new or re-dated activity takes
// its next-inspection date from the card's period.
class ActivityPanel : public QFrame
{
    Q_OBJECT
public:
    ActivityPanel(AppContext& context, CustomerRecords& records, QWidget* parent);

    RecordPanel* panel() const { return m_panel; }
    DataSource* source() const { return m_source; }
    QMenu* technicianMenu() const { return m_technicians; }

    void applySettings(const Settings& settings);

    // Shows the activities of the card, or disables the panel when the id is 0 (no card,
    // or a card that is not saved yet).
    void loadCard(int cardId);

    QString listingText() const;

    // The menu of technicians, rebuilt from the database.
    void rebuildTechnicianMenu();

private:
    void buildFields(RecordPanelLayout& form);
    void buildCommands(RecordPanelLayout& form);
    void setDefaults();
    bool validate();
    int cardPeriod() const;
    void pickDate(DBEdit* field, bool recomputeNext);
    void showTechnicianMenu();
    void chooseTechnician(const QString& caption);

    AppContext& m_context;
    CustomerRecords& m_records;
    DataSource* m_source;
    RecordPanel* m_panel = nullptr;
    DBLookupCombo* m_activityKind = nullptr;
    DBEdit* m_date = nullptr;
    DBEdit* m_nextDate = nullptr;
    DBEdit* m_technician = nullptr;
    DBMemo* m_note = nullptr;
    QLabel* m_mode = nullptr;
    QLabel* m_counter = nullptr;
    QMenu* m_technicians = nullptr;
    QAction* m_listing = nullptr;
};
