#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Connection;

// The small store operations the windows call: the schema upgrade, the cascading
// deletes and three look-ups. Each runs its statement and releases it whatever happens.
class StoreOperations
{
public:
    explicit StoreOperations(Connection& connection) : m_connection(connection) {}

    // Makes sure that table has the column; adds it with the given type when missing.
    // Returns false when the column was missing and could not be added.
    bool ZajistitSloupec(const QString& table, const QString& column, const QString& type);

    // Deletes the activities and the reminders of a card; false when a statement failed
    // (not reported).
    bool SmazatCinnostiKarty(int cardId);

    // Deletes the reminders, the activities, then the cards of a customer; a failure of one
    // statement does not stop the others and is not reported. True when all of them ran.
    bool SmazatDataZakaznika(int customerId);

    // The customer's name, or "nenalezen" when there is no such customer.
    QString NazevZakaznika(int customerId);
    // The customer's name; nothing when there is no such customer.
    std::optional<QString> findCustomerName(int customerId);

    // The id of the customer that owns the card; 0 when there is no such card or customer.
    int ZakaznikKarty(int cardId);

    // The category's period in months; 0 when there is no such category or no period.
    int LhutaKategorie(int categoryId);

    // Records a reminder of the given way ("e-mail", "dopis" or "ručně") on that day for each
    // card, all or none. Throws DatabaseError.
    void recordReminders(const QList<int>& cardIds, const QDate& day, const QString& way);

private:
    Connection& m_connection;
};
