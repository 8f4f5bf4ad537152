#include "plan/PlanReminders.h"

#include "plan/PlanModel.h"
#include "plan/ReminderMail.h"

#include "exchange/ReportBinding.h"
#include "store/DatabaseError.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"

#include <numeric>

namespace {

const QString CardId = QStringLiteral("id_topneho_zdroje");
const QString CustomerId = QStringLiteral("id_zakaznika");

} // namespace

PlanReminders::PlanReminders(AppContext& context, const PlanModel& model,
                             std::function<void()> afterRecording, std::function<int()> openCustomerId)
    : m_context(context), m_model(&model), m_afterRecording(std::move(afterRecording)),
      m_openCustomerId(std::move(openCustomerId))
{
}

void PlanReminders::sendEmail(int row, const QList<int>& selected)
{
    if (row < 0)
        return;
    // The selected sources of the current row's customer; the current row alone when it
    // is not among them.
    const QVariant customer = m_model->value(row, CustomerId);
    QList<int> rows;
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

void PlanReminders::printReminders(const QList<int>& selected)
{
    // The selected rows, or every listed row when none is selected.
    QList<int> rows = selected;
    if (rows.isEmpty()) {
        rows.resize(m_model->rowCount());
        std::iota(rows.begin(), rows.end(), 0);
    }
    if (rows.isEmpty())
        return;
    const QList<int> ids = cardIds(rows);
    if (ReportBinding::printReminderLetters(m_context, m_openCustomerId(), ids))
        offerToRecord(ids, QStringLiteral("dopis"));
}

void PlanReminders::markReminded(const QList<int>& selected)
{
    if (selected.isEmpty()) {
        ShowInfo(QStringLiteral("Vyberte v seznamu zdroje, u kterých chcete upozornění zaznamenat."));
        return;
    }
    record(cardIds(selected), QStringLiteral("ručně"));
}

void PlanReminders::offerToRecord(const QList<int>& ids, const QString& way)
{
    const QString text =
        ids.size() == 1
            ? QStringLiteral("Zaznamenat u tohoto zdroje dnešní upozornění?")
            : QStringLiteral("Zaznamenat u těchto zdrojů (%1) dnešní upozornění?").arg(ids.size());
    if (AskQuestion(text, QuestionKind::YesNo) == Answer::Yes)
        record(ids, way);
}

bool PlanReminders::record(const QList<int>& ids, const QString& way)
{
    try {
        m_context.store.recordReminders(ids, QDate::currentDate(), way);
    } catch (const DatabaseError& e) {
        ShowWarning(QStringLiteral("Upozornění se nepodařilo zaznamenat, nic nebylo uloženo.\r\n") +
                    e.text());
        return false;
    }
    m_afterRecording();
    return true;
}

QList<int> PlanReminders::cardIds(const QList<int>& listedRows) const
{
    QList<int> ids;
    for (const int row : listedRows)
        ids << m_model->value(row, CardId).toInt();
    return ids;
}
