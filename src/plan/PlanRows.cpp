#include "plan/PlanRows.h"

#include "plan/PlanQuery.h"
#include "store/CustomerOrder.h"
#include "store/DataSet.h"

PlanRows::PlanRows(Connection& connection, QObject* parent)
    : QObject(parent), m_connection(connection),
      m_rows(new DataSet(connection, QStringLiteral("DS_Plan"), this))
{
}

void PlanRows::read(const QDate& until, bool allCustomers)
{
    m_until = QDate();
    m_rows->close();
    const PlanQuery::Reading reading =
        PlanQuery::upTo(until, allCustomers ? PlanQuery::Customers::All : PlanQuery::Customers::Watched);
    m_rows->setCommandText(reading.sql, reading.params);
    m_rows->open();
    m_customerOrder = ::customerOrder(m_connection);
    m_until = until;
    m_allCustomers = allCustomers;
}

void PlanRows::readOtherCustomers()
{
    const PlanQuery::Reading reading = PlanQuery::upTo(m_until, PlanQuery::Customers::Unwatched);
    m_rows->readMore(reading.sql, reading.params);
    m_allCustomers = true;
}

void PlanRows::readUntil(const QDate& day)
{
    const PlanQuery::Reading reading = PlanQuery::between(
        m_until, day, m_allCustomers ? PlanQuery::Customers::All : PlanQuery::Customers::Watched);
    m_rows->readMore(reading.sql, reading.params);
    m_until = day;
}
