// The main window's work on one customer: opening, closing, and finding a card.
#include "app/Hlavni_f.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "records/CardSearch.h"
#include "records/OtevritKartuDetail_f.h"
#include "records/OtevritKartu_f.h"
#include "records/OtevritZakaznika_f.h"
#include "store/DataSet.h"
#include "uikit/CommandNames.h"
#include "uikit/Dialogs.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QLabel>

namespace {
void enableCustomerCommands(THlavni& w, bool customerOpen)
{
    w.action(Akce_OtevritTZ)->setEnabled(!customerOpen);
    w.action(Akce_OtevritZakaznika)->setEnabled(!customerOpen);
    w.action(Akce_ZavritZakaznika)->setEnabled(customerOpen);
}
} // namespace

void THlavni::openCustomerCommand()
{
    const int before = m_records.IdOtevrenehoZakaznika;
    {
        TOtevritZakaznika dialog(m_context, m_records, this);
        RunModal(dialog);
    }
    if (m_records.IdOtevrenehoZakaznika != 0 && m_records.IdOtevrenehoZakaznika != before)
        OtevritZakaznikaId();
}

void THlavni::OtevritZakaznikaId(int cardId)
{
    const int id = m_records.IdOtevrenehoZakaznika;
    m_openCustomerLabel->setText(m_context.store.NazevZakaznika(id));
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
    m_cardPanel->show();
    m_activityPanel->show();
    enableCustomerCommands(*this, true);
}

bool THlavni::ZavritZakaznika()
{
    if (!savePendingEdits())
        return false;
    m_records.DS_Cin->close();
    m_records.DS_Karty->close();
    m_cardPanel->hide();
    m_activityPanel->hide();
    enableCustomerCommands(*this, false);
    m_openCustomerLabel->clear();
    m_records.IdOtevrenehoZakaznika = 0;
    return true;
}

void THlavni::reloadOpenCustomer()
{
    const int id = m_records.IdOtevrenehoZakaznika;
    if (id == 0 || !savePendingEdits())
        return;
    if (const std::optional<QString> name = m_context.store.NajdiNazevZakaznika(id)) {
        m_openCustomerLabel->setText(*name);
        m_records.DS_Karty->refresh();
        m_cardPanel->reloadActivities();
        return;
    }
    ZavritZakaznika();
    ShowInfo(QStringLiteral("Zákazníka mezitím smazal jiný uživatel."));
}

void THlavni::findCardCommand()
{
    QString column;
    QString value;
    {
        TOtevritKartu search(this);
        if (RunModal(search) != QDialog::Accepted)
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
        TOtevritKartuDetail list(m_context, CardSearch::listQuery(column), {value}, this);
        if (RunModal(list) != QDialog::Accepted)
            return;
        cardId = list.cardId();
        customerId = list.customerId();
    }
    if (cardId <= 0 || customerId <= 0)
        return;
    m_records.IdOtevrenehoZakaznika = customerId;
    OtevritZakaznikaId(cardId);
}
