#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariantList>

class Connection;

// Which heating sources the revision plan lists: cards in service whose next inspection
// (the latest next date of their activities) falls on or before a day.
struct PlanFilter
{
    QDate today;
    QDate until;              // "Revize do"
    bool watchedOnly = true;  // only customers with "Hlídání revizí"
    bool withoutNext = false; // also cards with no next inspection at all
};

namespace PlanQuery {

// Whose cards: every customer's, the watched customers' only, or the others' only.
enum class Customers
{
    All,
    Watched,
    Unwatched
};

// A query of the rows the plan filters in memory, with its values. Columns:
// id_topneho_zdroje, id_zakaznika, hlidani_revizi, pristi_revize, zakaznik, mesto, telefon,
// mobil, email, zdroj, vyrobni_cislo, kategorie, posledni_datum, posledni_cinnost,
// upozorneno, zpusob_upozorneni; in no particular order (sorting them by the customers'
// names in the database would run the Czech comparison for every pair).
struct Reading
{
    QString sql;
    QVariantList params;
};
// The cards in service of the chosen customers whose next inspection falls on or before the
// day, with the cards without a next inspection.
Reading upTo(const QDate& until, Customers customers = Customers::All);
// Only the cards with a next inspection after one day and on or before the other.
Reading between(const QDate& after, const QDate& until, Customers customers = Customers::All);

// Whether a row of that query is listed under the filter.
bool accepts(const PlanFilter& filter, bool watched, const QDate& next);

// How many cards of watched customers are overdue today.
int overdueCount(Connection& connection, const QDate& today);

} // namespace PlanQuery
