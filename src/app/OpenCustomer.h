#pragma once

class ActivityPanel;
class AppContext;
class CardPanel;
class CommandTable;
class CustomerRecords;
class QLabel;
class QWidget;

// The customer the main window works on: opening it (chosen in the dialog, found by a
// card's serial number or barcode, or on a card of the plan), reading it again, saving its
// pending edits and closing it. The panels and the toolbar's name show it; the commands to
// open and close it are enabled as it is open or not.
class OpenCustomer
{
public:
    OpenCustomer(AppContext& context, CustomerRecords& records, CardPanel* cards, ActivityPanel* activities,
                 QLabel* nameLabel, const CommandTable& commands, QWidget* window);

    // The open-customer dialog, then the customer chosen there.
    void openCommand();
    // The search for a card by serial number or barcode, then its customer on that card.
    void findCardCommand();

    // Opens the customer whose id is in IdOtevrenehoZakaznika, on the card with that id
    // when it is the customer's, else on the first card.
    void open(int cardId = 0);
    // Makes the card current, with its customer open: the open one stays when it is that
    // customer, else it is closed first. False when a pending edit was not saved.
    bool showCard(int customerId, int cardId);
    // Saves pending edits and closes the customer; false when a save was refused and the
    // customer stays open.
    bool close();
    // Reads the open customer's cards and activities again, keeping the current card;
    // pending edits are saved first.
    void reload();
    // Saves a pending activity, then a pending card; false when a save was refused (the
    // record stays in its editing mode).
    bool savePendingEdits();

private:
    void enableCommands(bool customerOpen);

    AppContext& m_context;
    CustomerRecords& m_records;
    CardPanel* m_cards;
    ActivityPanel* m_activities;
    QLabel* m_nameLabel;
    const CommandTable& m_commands;
    QWidget* m_window;
};
