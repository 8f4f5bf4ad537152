#pragma once

#include <QDate>
#include <QHash>
#include <QObject>

class Connection;
class DataSet;

// The rows of the plan read from the database so far, and how far they reach: up to a day,
// of every customer or of the watched customers only. The filters then work in memory; a
// later day or the other customers are read only when asked for, and put after the rows
// read before. Reading errors are thrown (DatabaseError); reporting them is the window's.
class PlanRows : public QObject
{
    Q_OBJECT
public:
    PlanRows(Connection& connection, QObject* parent);

    // Reads the plan afresh up to the day, with the cards without a next revision and the
    // customers' places in the Czech order of names. When that fails, nothing counts as read.
    void read(const QDate& until, bool allCustomers);
    // The cards of the customers not read yet (the unwatched ones), up to the day read.
    void readOtherCustomers();
    // The cards of the customers read whose next revision falls after the day read and on
    // or before this one.
    void readUntil(const QDate& day);

    bool isRead() const { return m_until.isValid(); }
    QDate until() const { return m_until; }
    bool allCustomers() const { return m_allCustomers; }

    DataSet* dataSet() const { return m_rows; }
    const QHash<int, int>& customerOrder() const { return m_customerOrder; }

private:
    Connection& m_connection;
    DataSet* m_rows = nullptr;
    QDate m_until;               // the rows read reach this day; invalid before the first reading
    bool m_allCustomers = false; // or only the watched customers' cards
    QHash<int, int> m_customerOrder;
};
