#pragma once

#include <QString>

class Connection;

// Looking up heating sources by serial number or barcode across all customers. The typed
// value is bound as a parameter and matched whole, without regard to letter case, on the
// column's index.
namespace CardSearch {

// The column for a search: "vyrobni_cislo" or "carovy_kod"; anything else is refused.
bool isSearchColumn(const QString& column);

int count(Connection& connection, const QString& column, const QString& value);
// The id of the first matching card, 0 when there is none.
int firstCardId(Connection& connection, const QString& column, const QString& value);
// The matching cards with their owner's name (nazev_zakaznika); one parameter: the value.
QString listQuery(const QString& column);

} // namespace CardSearch
