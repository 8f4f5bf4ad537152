// The main window's work on one customer: opening, closing, and finding a card.
#include "app/Dialogs.h"
#include "app/Hlavni_f.h"
#include "app/RecordPanel.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "records/OtevritKartuDetail_f.h"
#include "records/OtevritKartu_f.h"
#include "records/OtevritZakaznika_f.h"
#include "store/DataSet.h"

#include <QAction>
#include <QLabel>

namespace {
void enableCustomerCommands(THlavni& w, bool customerOpen)
{
    w.action(QStringLiteral("Akce_OtevritTZ"))->setEnabled(!customerOpen);
    w.action(QStringLiteral("Akce_OtevritZakaznika"))->setEnabled(!customerOpen);
    w.action(QStringLiteral("Akce_ZavritZakaznika"))->setEnabled(customerOpen);
}
} // namespace

void THlavni::openCustomerCommand()
{
    const int before = m_context.IdOtevrenehoZakaznika;
    {
        TOtevritZakaznika dialog(m_context, this);
        RunModal(dialog);
    }
    if (m_context.IdOtevrenehoZakaznika != 0 && m_context.IdOtevrenehoZakaznika != before)
        OtevritZakaznikaId();
}

void THlavni::OtevritZakaznikaId()
{
    const int id = m_context.IdOtevrenehoZakaznika;
    m_openCustomerLabel->setText(m_context.store.NazevZakaznika(id));
    DataSet* cards = m_context.DS_Karty;
    cards->close();
    cards->setCommandText(QStringLiteral("SELECT * FROM topny_zdroj WHERE id_zakaznika = ") + QString::number(id) +
                          QStringLiteral(" ORDER BY id"));
    cards->open();
    m_cardPanel->show();
    m_activityPanel->show();
    enableCustomerCommands(*this, true);
}

bool THlavni::ZavritZakaznika()
{
    if (!savePendingEdits())
        return false;
    m_context.DS_Cin->close();
    m_context.DS_Karty->close();
    m_cardPanel->hide();
    m_activityPanel->hide();
    enableCustomerCommands(*this, false);
    m_openCustomerLabel->clear();
    m_context.IdOtevrenehoZakaznika = 0;
    return true;
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
    const ResultSet count = m_context.connection.query(
        QStringLiteral("SELECT COUNT(") + column + QStringLiteral(") as Celkem FROM topny_zdroj WHERE ") + column +
            QStringLiteral(" = ?"),
        {value});
    const int found = count.rows.value(0).value(0).toInt();
    int cardId = 0;
    int customerId = 0;
    if (found == 0) {
        ShowInfo(QStringLiteral("Karta přístroje nebyla nalezena!"));
        return;
    }
    if (found == 1) {
        const ResultSet card = m_context.connection.query(
            QStringLiteral("SELECT id FROM topny_zdroj WHERE ") + column + QStringLiteral(" = ?"), {value});
        cardId = card.rows.value(0).value(0).toInt();
        customerId = m_context.store.ZakaznikKarty(cardId);
    } else {
        if (AskQuestion(QStringLiteral("Bylo nalezeno více karet přístrojů. Chcete nabídnout seznam všech spotřebičů, "
                                       "které vyhovují zadání?"),
                        1) != AnswerYes)
            return;
        TOtevritKartuDetail list(m_context,
                                 QStringLiteral("SELECT cis_zakaznici.nazev AS nazev_zakaznika, topny_zdroj.* FROM "
                                                "topny_zdroj, cis_zakaznici WHERE (topny_zdroj.id_zakaznika = "
                                                "cis_zakaznici.id) AND (") +
                                     column + QStringLiteral(" = ?)"),
                                 {value}, this);
        if (RunModal(list) != QDialog::Accepted)
            return;
        cardId = list.cardId();
        customerId = list.customerId();
    }
    if (cardId <= 0 || customerId <= 0)
        return;
    m_context.IdOtevrenehoZakaznika = customerId;
    OtevritZakaznikaId();
    m_context.DS_Karty->locate(QStringLiteral("id"), cardId);
}
