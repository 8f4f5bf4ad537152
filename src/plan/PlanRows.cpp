#include "plan/PlanRows.h"

#include "plan/PlanQuery.h"
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
    m_rows->setCommandText(
        PlanQuery::sql(),
        PlanQuery::params(until, allCustomers ? PlanQuery::Customers::All : PlanQuery::Customers::Watched));
    m_rows->open();
    m_customerOrder = PlanQuery::customerOrder(m_connection);
    m_until = until;
    m_allCustomers = allCustomers;
}

void PlanRows::readOtherCustomers()
{
    m_rows->readMore(PlanQuery::sql(), PlanQuery::params(m_until, PlanQuery::Customers::Unwatched));
    m_allCustomers = true;
}

void PlanRows::readUntil(const QDate& day)
{
    m_rows->readMore(
        PlanQuery::sql(),
        PlanQuery::paramsBetween(m_until, day,
                                 m_allCustomers ? PlanQuery::Customers::All : PlanQuery::Customers::Watched));
    m_until = day;
}
