#include "app/PlanLink.h"

#include "app/OpenCustomer.h"
#include "plan/PlanQuery.h"
#include "plan/PlanRevizi_f.h"
#include "records/CustomerRecords.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>

PlanLink::PlanLink(AppContext& context, CustomerRecords& records, OpenCustomer& customer, QFrame* toolbar,
                   QLabel* customerLabel, QWidget* window)
    : m_context(context), m_records(records), m_customer(customer), m_toolbar(toolbar),
      m_customerLabel(customerLabel), m_window(window), m_overdueLabel(new QLabel(toolbar))
{
    m_overdueLabel->setObjectName(QStringLiteral("La_PoTerminu"));
    m_overdueLabel->setTextFormat(Qt::RichText);
    m_overdueLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    m_overdueLabel->setToolTip(QStringLiteral("Zobrazit zdroje s prošlým termínem revize"));
    m_overdueLabel->hide();
    m_toolbar->installEventFilter(this);
    connect(m_overdueLabel, &QLabel::linkActivated, this, [this] { runGuarded([this] { open(true); }); });
    for (DataSet* data : {m_records.DS_Karty, m_records.DS_Cin})
        connect(data, &DataSet::written, this, [this] { runGuarded([this] { dataWritten(); }); });
}

void PlanLink::placeToolbarLabels()
{
    // The overdue count stands at the right end; the open customer's name keeps its place
    // and gives way to it.
    const QRect customer(488, 12, 480, 17);
    if (m_overdueLabel->isHidden()) {
        m_customerLabel->setGeometry(customer);
        return;
    }
    const int width = m_overdueLabel->sizeHint().width();
    const int left = m_toolbar->width() - 10 - width;
    m_overdueLabel->setGeometry(left, 12, width, 17);
    m_customerLabel->setGeometry(customer.left(), customer.top(),
                                 std::max(0, std::min(customer.width(), left - 12 - customer.left())),
                                 customer.height());
}

bool PlanLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_toolbar && event->type() == QEvent::Resize)
        placeToolbarLabels();
    return QObject::eventFilter(watched, event);
}

void PlanLink::recountOverdue()
{
    int overdue = 0;
    if (m_available) {
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

void PlanLink::dataWritten()
{
    recountOverdue();
    if (m_plan)
        m_plan->markStale();
}

TPlanRevizi* PlanLink::open(bool overdueOnly)
{
    if (!m_available)
        return nullptr;
    const bool opening = !m_plan;
    if (opening) {
        m_plan = new TPlanRevizi(
            m_context, [this](int customerId, int cardId) { return openCard(customerId, cardId); },
            [this] { return m_records.IdOtevrenehoZakaznika; }, m_window);
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

void PlanLink::closeWindow()
{
    delete m_plan;
}

bool PlanLink::openCard(int customerId, int cardId)
{
    if (customerId <= 0 || m_context.store.ZakaznikKarty(cardId) != customerId) {
        ShowInfo(QStringLiteral("Zákazník nebo jeho topný zdroj byl mezitím z databáze odstraněn."));
        if (m_plan)
            m_plan->refresh();
        return false;
    }
    if (!m_customer.showCard(customerId, cardId))
        return false;
    m_window->raise();
    m_window->activateWindow();
    return true;
}
