#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariantList>

class Connection;

// Which heating sources the inspection plan lists: cards in service whose next inspection
// (the latest next date of their activities) falls on or before a day.
struct PlanFilter
{
    QDate today;
    QDate until;              // "Revize do"
    bool watchedOnly = true;  // only customers with "Hlídání revizí"
    bool withoutNext = false; // also cards with no next inspection at all
};

namespace PlanQuery {

// The rows the plan filters in memory: every card in service whose next inspection falls
// after one day and on or before another, and, when asked, every card in service with none,
// whatever its customer watches. Columns: id_topneho_zdroje, id_zakaznika, hlidani_revizi, pristi_revize,
// zakaznik, mesto, telefon, mobil, email, zdroj, vyrobni_cislo, kategorie, posledni_datum,
// posledni_cinnost, upozorneno, zpusob_upozorneni; in no particular order (sorting them
// by the customers' names in the database would run the Czech comparison for every pair).
QString sql();
QVariantList params(const QDate& until); // everything up to the day, with the cards without one
QVariantList paramsBetween(const QDate& after, const QDate& until); // only what the later day adds

// Each customer's place in the Czech order of names (ties by id), read along the index of
// names: the plan sorts its rows by customer with it.
QHash<int, int> customerOrder(Connection& connection);

// Whether a row of that query is listed under the filter.
bool accepts(const PlanFilter& filter, bool watched, const QDate& next);

// How many cards of watched customers are overdue today.
int overdueCount(Connection& connection, const QDate& today);

} // namespace PlanQuery
