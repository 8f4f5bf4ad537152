#pragma once

#include <QHash>

class Connection;

// Each customer's place in the Czech order of names (ties by id), read along the index of
// names: long lists (the revision plan, the web app's due list) sort their rows by customer
// with it instead of comparing the names of every pair.
QHash<int, int> customerOrder(Connection& connection);
