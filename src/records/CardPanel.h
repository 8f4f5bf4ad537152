#pragma once

#include <QFrame>

class ActivityPanel;
class AppContext;
class CustomerRecords;
class DataSource;
class DBComboList;
class DBEdit;
class DBGrid;
class DBLookupCombo;
class DBMemo;
class QAction;
class QLabel;
class QPushButton;
class RecordPanel;
class RecordPanelLayout;
struct Settings;

// The heating-source cards of the open customer (Panel_TZ): a record panel over DS_Karty
// that also drives the activity panel, which always shows the activities of the card
// that is current here.
class CardPanel : public QFrame
{
    Q_OBJECT
public:
    CardPanel(AppContext& context, CustomerRecords& records, ActivityPanel* activities, QWidget* parent);

    RecordPanel* panel() const { return m_panel; }
    DataSource* source() const { return m_source; }

    // Colour and the read-only state of the date field, from the settings in force.
    void applySettings(const Settings& settings);

    // The card id whose activities the activity panel shows; 0 for none.
    int shownCardId() const { return m_shownCardId; }
    // Reads the current card's activities again, also when the card stayed the same.
    void reloadActivities();

    // Listing of the card on screen.
    QString listingText() const;

private:
    void buildFields(RecordPanelLayout& form);
    void buildCommands(RecordPanelLayout& form);
    bool validate();
    void onCategoryChosen();
    void pickDecommissioning();
    void cancelDecommissioning();
    void deleteCard();
    void followCurrentCard();

    AppContext& m_context;
    CustomerRecords& m_records;
    ActivityPanel* m_activities;
    DataSource* m_source;
    RecordPanel* m_panel = nullptr;
    DBGrid* m_grid = nullptr;
    DBEdit* m_name = nullptr;
    DBEdit* m_type = nullptr;
    DBEdit* m_decommissioned = nullptr;
    DBLookupCombo* m_category = nullptr;
    DBMemo* m_note = nullptr;
    QLabel* m_mode = nullptr;
    QLabel* m_counter = nullptr;
    QAction* m_listing = nullptr;
    QAction* m_printCard = nullptr;
    int m_shownCardId = -1; // -1: nothing loaded yet
};
