#pragma once

#include <QStringList>

class Connection;

// Every card's next inspection, kept by the database itself in the table
// pristi_revize_karet (card, customer, the customer's watching, date) by triggers on the
// activities, the cards and the customers, on the file and on the server alike; the view
// pristi_revize reads it. Readers take the stored dates instead of working them out.
namespace NextInspections {

// The statements that make the table, its indexes, triggers and view anew and fill it from
// the activities: run together in one transaction, on an empty database or an existing one.
QStringList installStatements(bool server);

// For a copy of many rows in one transaction: the statements that switch the keeping
// triggers off before it, and those that switch them on again and work every row out anew
// after it (the server's).
QStringList suspendStatements();
QStringList resumeStatements();

// Whether the database holds this version's table, triggers and view.
bool isCurrent(Connection& connection);

// Makes them where they are missing or differ, in one transaction of their own; throws
// DatabaseError when the database refuses (nothing is changed then).
void ensure(Connection& connection);

} // namespace NextInspections
