#pragma once

#include <QHash>

class Connection;

// Each customer's place in the Czech order of names (ties by id), read along the index of
// names: the revision plan sorts its rows by customer with it instead of comparing the names
// of every pair.
QHash<int, int> customerOrder(Connection& connection);
