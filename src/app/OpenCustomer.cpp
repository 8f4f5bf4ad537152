#include "app/OpenCustomer.h"

#include "app/CommandTable.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "records/CardSearch.h"
#include "records/CustomerRecords.h"
#include "records/OtevritKartuDetail_f.h"
#include "records/OtevritKartu_f.h"
#include "records/OtevritZakaznika_f.h"
#include "store/DataSet.h"
#include "uikit/AppContext.h"
#include "uikit/CommandNames.h"
#include "uikit/Dialogs.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QLabel>

OpenCustomer::OpenCustomer(AppContext& context, CustomerRecords& records, CardPanel* cards,
                           ActivityPanel* activities, QLabel* nameLabel, const CommandTable& commands,
                           QWidget* window)
    : m_context(context), m_records(records), m_cards(cards), m_activities(activities),
      m_nameLabel(nameLabel), m_commands(commands), m_window(window)
{
}

void OpenCustomer::enableCommands(bool customerOpen)
{
    m_commands.action(Akce_OtevritTZ)->setEnabled(!customerOpen);
    m_commands.action(Akce_OtevritZakaznika)->setEnabled(!customerOpen);
    m_commands.action(Akce_ZavritZakaznika)->setEnabled(customerOpen);
}

void OpenCustomer::openCommand()
{
    const int before = m_records.IdOtevrenehoZakaznika;
    {
        TOtevritZakaznika dialog(m_context, m_records, m_window);
        runModal(dialog);
    }
    if (m_records.IdOtevrenehoZakaznika != 0 && m_records.IdOtevrenehoZakaznika != before)
        open();
}

void OpenCustomer::open(int cardId)
{
    const int id = m_records.IdOtevrenehoZakaznika;
    m_nameLabel->setText(m_context.store.NazevZakaznika(id));
    DataSet* cards = m_records.DS_Karty;
    cards->close();
    cards->setCommandText(QStringLiteral("SELECT * FROM topny_zdroj WHERE id_zakaznika = ? ORDER BY id"),
                          {id});
    // The panels see the customer only on the card asked for: the activities are read
    // once, for that card.
    cards->disableControls();
    try {
        cards->open();
        if (cardId != 0)
            cards->locate(QStringLiteral("id"), cardId);
    } catch (...) {
        cards->enableControls();
        throw;
    }
    cards->enableControls();
    m_cards->show();
    m_activities->show();
    enableCommands(true);
}

bool OpenCustomer::showCard(int customerId, int cardId)
{
    if (m_records.IdOtevrenehoZakaznika == customerId) {
        if (!savePendingEdits())
            return false;
        m_records.DS_Karty->locate(QStringLiteral("id"), cardId);
        return true;
    }
    if (m_records.IdOtevrenehoZakaznika != 0 && !close())
        return false;
    m_records.IdOtevrenehoZakaznika = customerId;
    open(cardId);
    return true;
}

bool OpenCustomer::close()
{
    if (!savePendingEdits())
        return false;
    m_records.DS_Cin->close();
    m_records.DS_Karty->close();
    m_cards->hide();
    m_activities->hide();
    enableCommands(false);
    m_nameLabel->clear();
    m_records.IdOtevrenehoZakaznika = 0;
    return true;
}

void OpenCustomer::reload()
{
    const int id = m_records.IdOtevrenehoZakaznika;
    if (id == 0 || !savePendingEdits())
        return;
    if (const std::optional<QString> name = m_context.store.findCustomerName(id)) {
        m_nameLabel->setText(*name);
        m_records.DS_Karty->refresh();
        m_cards->reloadActivities();
        return;
    }
    close();
    ShowInfo(QStringLiteral("Zákazníka mezitím smazal jiný uživatel."));
}

bool OpenCustomer::savePendingEdits()
{
    for (RecordPanel* panel : {m_activities->panel(), m_cards->panel()}) {
        if (!panel->dataSet()->isEditing())
            continue;
        panel->action(RecordPanel::Save)->trigger();
        if (panel->dataSet()->isEditing())
            return false; // refused: the record stays in its editing mode
    }
    return true;
}

void OpenCustomer::findCardCommand()
{
    QString column;
    QString value;
    {
        TOtevritKartu search(m_window);
        if (runModal(search) != QDialog::Accepted)
            return;
        column = search.searchColumn();
        value = search.searchValue();
    }
    if (value.isEmpty()) {
        ShowInfo(QStringLiteral("Není zadaná hodnota pro vyhledávání!"));
        return;
    }
    // The typed value is bound, never put into the statement text.
    const int found = CardSearch::count(m_context.connection, column, value);
    int cardId = 0;
    int customerId = 0;
    if (found == 0) {
        ShowInfo(QStringLiteral("Karta přístroje nebyla nalezena!"));
        return;
    }
    if (found == 1) {
        cardId = CardSearch::firstCardId(m_context.connection, column, value);
        customerId = m_context.store.ZakaznikKarty(cardId);
    } else {
        if (AskQuestion(QStringLiteral(
                            "Bylo nalezeno více karet přístrojů. Chcete nabídnout seznam všech spotřebičů, "
                            "které vyhovují zadání?"),
                        QuestionKind::YesNo) != Answer::Yes)
            return;
        TOtevritKartuDetail list(m_context, CardSearch::listQuery(column), {value}, m_window);
        if (runModal(list) != QDialog::Accepted)
            return;
        cardId = list.cardId();
        customerId = list.customerId();
    }
    if (cardId <= 0 || customerId <= 0)
        return;
    m_records.IdOtevrenehoZakaznika = customerId;
    open(cardId);
}
