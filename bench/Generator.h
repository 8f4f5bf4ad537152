#pragma once

#include "Random.h"

#include <QList>

class Connection;

struct GenOptions
{
    int customers = 0;
    int cards = 0;      // all cards, the big customer's included
    int activities = 0; // all activities, the big customer's included
    int bigCustomerCards = 0;
    int bigCustomerActivitiesPerCard = 0;
    quint64 seed = 1;
};

struct GenCounts
{
    int customers = 0;
    int cards = 0;
    int discardedCards = 0;
    int activities = 0;
    int categories = 0;
    int activityKinds = 0;
    int technicians = 0;
};

// Fills an empty database with a heating-service firm's register: code lists, customers,
// the cards of their heating sources and the activities done on every card. Customer 1 is
// the big customer; the other cards and activities are spread over the rest.
class Generator
{
public:
    Generator(Connection& connection, const GenOptions& options);

    // Writes everything in one transaction. Throws AppError.
    GenCounts run();

private:
    void writeCodeLists();
    void writeCustomers();
    void writeCardsAndActivities();

    Connection& m_connection;
    GenOptions m_options;
    GenCounts m_counts;
    Random m_random;
    QList<bool> m_customerIsFirm; // by customer id - 1
};
