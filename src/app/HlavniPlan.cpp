// The main window's part in the revision plan: the plan window, the overdue count in the
// toolbar, and opening a customer on a card from the plan.
#include "app/Hlavni_f.h"
#include "plan/PlanQuery.h"
#include "plan/PlanRevizi_f.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QLabel>

void THlavni::buildOverdueLabel()
{
    m_overdueLabel = new QLabel(m_toolbar);
    m_overdueLabel->setObjectName(QStringLiteral("La_PoTerminu"));
    m_overdueLabel->setTextFormat(Qt::RichText);
    m_overdueLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    m_overdueLabel->setToolTip(QStringLiteral("Zobrazit zdroje s prošlým termínem revize"));
    m_overdueLabel->hide();
    m_toolbar->installEventFilter(this);
    connect(m_overdueLabel, &QLabel::linkActivated, this, [this] { runGuarded([this] { openPlan(true); }); });
}

void THlavni::placeToolbarLabels()
{
    // The overdue count stands at the right end; the open customer's name keeps its place
    // and gives way to it.
    const QRect customer(488, 12, 480, 17);
    if (m_overdueLabel->isHidden()) {
        m_openCustomerLabel->setGeometry(customer);
        return;
    }
    const int width = m_overdueLabel->sizeHint().width();
    const int left = m_toolbar->width() - 10 - width;
    m_overdueLabel->setGeometry(left, 12, width, 17);
    m_openCustomerLabel->setGeometry(customer.left(), customer.top(),
                                     std::max(0, std::min(customer.width(), left - 12 - customer.left())),
                                     customer.height());
}

bool THlavni::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_toolbar && event->type() == QEvent::Resize)
        placeToolbarLabels();
    return QMainWindow::eventFilter(watched, event);
}

void THlavni::recountOverdue()
{
    int overdue = 0;
    if (m_planAvailable) {
        try {
            overdue = PlanQuery::overdueCount(m_context.connection, QDate::currentDate());
        } catch (const DatabaseError&) {
            overdue = 0; // the count is a hint; the plan itself reports what is wrong
        }
    }
    m_overdueLabel->setText(
        QStringLiteral("<a href=\"plan\" style=\"color: #c00000;\">Po termínu: %1</a>").arg(overdue));
    m_overdueLabel->setVisible(overdue > 0);
    placeToolbarLabels();
}

void THlavni::connectPlanToData()
{
    for (DataSet* data : {m_records.DS_Karty, m_records.DS_Cin})
        connect(data, &DataSet::written, this, [this] { runGuarded([this] { dataWritten(); }); });
}

void THlavni::dataWritten()
{
    recountOverdue();
    if (m_plan)
        m_plan->markStale();
}

TPlanRevizi* THlavni::openPlan(bool overdueOnly)
{
    if (!m_planAvailable)
        return nullptr;
    const bool opening = !m_plan;
    if (opening) {
        m_plan = new TPlanRevizi(
            m_context, [this](int customerId, int cardId) { return openCardFromPlan(customerId, cardId); },
            [this] { return m_records.IdOtevrenehoZakaznika; }, this);
        m_plan->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (overdueOnly)
        m_plan->showOverdue();
    else if (opening)
        m_plan->refresh();
    m_plan->show();
    m_plan->raise();
    m_plan->activateWindow();
    return m_plan;
}

bool THlavni::openCardFromPlan(int customerId, int cardId)
{
    if (customerId <= 0 || m_context.store.ZakaznikKarty(cardId) != customerId) {
        ShowInfo(QStringLiteral("Zákazník nebo jeho topný zdroj byl mezitím z databáze odstraněn."));
        if (m_plan)
            m_plan->refresh();
        return false;
    }
    if (m_records.IdOtevrenehoZakaznika == customerId) {
        if (!savePendingEdits())
            return false;
        m_records.DS_Karty->locate(QStringLiteral("id"), cardId);
    } else {
        if (m_records.IdOtevrenehoZakaznika != 0 && !ZavritZakaznika())
            return false;
        m_records.IdOtevrenehoZakaznika = customerId;
        OtevritZakaznikaId(cardId);
    }
    raise();
    activateWindow();
    return true;
}
