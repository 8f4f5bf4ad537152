// What the plan window does with its rows: opening the card, reminding the customers by
// e-mail or letter, recording the reminders, exporting the list.
#include "plan/PlanModel.h"
#include "plan/PlanRevizi_f.h"
#include "plan/ReminderMail.h"

#include "exchange/ReportBinding.h"
#include "exchange/TableExport.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <numeric>

namespace {

const QString CardId = QStringLiteral("id_topneho_zdroje");
const QString CustomerId = QStringLiteral("id_zakaznika");

} // namespace

void TPlanRevizi::openCurrent()
{
    const int row = currentListedRow();
    if (row < 0)
        return;
    m_openCard(m_model->value(row, CustomerId).toInt(), m_model->value(row, CardId).toInt());
}

void TPlanRevizi::sendEmail()
{
    const int row = currentListedRow();
    if (row < 0)
        return;
    // The selected sources of the current row's customer; the current row alone when it
    // is not among them.
    const QVariant customer = m_model->value(row, CustomerId);
    QList<int> rows;
    const QList<int> selected = selectedListedRows();
    if (selected.contains(row))
        for (const int r : selected)
            if (m_model->value(r, CustomerId) == customer)
                rows << r;
    if (rows.isEmpty())
        rows << row;

    QList<ReminderMail::Source> sources;
    for (const int r : rows) {
        const QVariant due = m_model->value(r, QStringLiteral("pristi_revize"));
        sources.append({m_model->value(r, QStringLiteral("zdroj")).toString(),
                        m_model->value(r, QStringLiteral("vyrobni_cislo")).toString(),
                        QDate::fromString(due.toString().left(10), Qt::ISODate)});
    }
    const QString address = ReminderMail::mailtoAddress(
        m_model->value(row, QStringLiteral("email")).toString(), ReminderMail::subject(),
        ReminderMail::body(sources, m_context.settings, QDate::currentDate()));
    if (address.isEmpty())
        return;
    if (!ShellOpen(address)) {
        ShowWarning(QStringLiteral("Poštovní program se nepodařilo otevřít. Zkontrolujte, zda je v systému "
                                   "nastaven program pro odesílání e-mailů."));
        return;
    }
    offerToRecord(cardIds(rows), QStringLiteral("e-mail"));
}

void TPlanRevizi::printReminders()
{
    // The selected rows, or every listed row when none is selected.
    QList<int> rows = selectedListedRows();
    if (rows.isEmpty()) {
        rows.resize(m_model->rowCount());
        std::iota(rows.begin(), rows.end(), 0);
    }
    if (rows.isEmpty())
        return;
    const QList<int> ids = cardIds(rows);
    if (ReportBinding::TiskUpozorneni(m_context, ids))
        offerToRecord(ids, QStringLiteral("dopis"));
}

void TPlanRevizi::markReminded()
{
    const QList<int> rows = selectedListedRows();
    if (rows.isEmpty()) {
        ShowInfo(QStringLiteral("Vyberte v seznamu zdroje, u kterých chcete upozornění zaznamenat."));
        return;
    }
    record(cardIds(rows), QStringLiteral("ručně"));
}

void TPlanRevizi::offerToRecord(const QList<int>& ids, const QString& way)
{
    const QString text =
        ids.size() == 1
            ? QStringLiteral("Zaznamenat u tohoto zdroje dnešní upozornění?")
            : QStringLiteral("Zaznamenat u těchto zdrojů (%1) dnešní upozornění?").arg(ids.size());
    if (AskQuestion(text, 1) == AnswerYes)
        record(ids, way);
}

bool TPlanRevizi::record(const QList<int>& ids, const QString& way)
{
    try {
        m_context.store.ZaznamenatUpozorneni(ids, QDate::currentDate(), way);
    } catch (const DatabaseError& e) {
        ShowWarning(QStringLiteral("Upozornění se nepodařilo zaznamenat, nic nebylo uloženo.\r\n") +
                    e.text());
        return false;
    }
    refresh();
    return true;
}

void TPlanRevizi::exportRows()
{
    ExportovatTabulku(m_rows, QStringLiteral("plan_revizi"), this, m_model->listedRows());
}
