#include "store/CustomerOrder.h"

#include "store/Connection.h"

QHash<int, int> customerOrder(Connection& connection)
{
    const ResultSet r = connection.query(QStringLiteral("SELECT id FROM cis_zakaznici ORDER BY nazev, id"));
    QHash<int, int> order;
    order.reserve(r.rows.size());
    for (int i = 0; i < r.rows.size(); ++i)
        order.insert(r.rows[i][0].toInt(), i);
    return order;
}
