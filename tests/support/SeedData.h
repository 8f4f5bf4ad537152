#pragma once

#include <QStringList>
#include <QVariant>

class Connection;

// Rows that many tests start from.

// A customer with the given name and, where given, town and company flag (NULL otherwise).
void addCustomer(Connection& c, const QString& name, const QVariant& town = QVariant(),
                 const QVariant& company = QVariant());
// Customers of the given names, one after another (ids from the next free one).
void addCustomers(Connection& c, const QStringList& names);
// Category 1 "Kotle" with a period of 12 months, activity kind 1 "Revize" and after it the
// kinds given.
void addKotleAndRevize(Connection& c, const QStringList& moreKinds = {});
