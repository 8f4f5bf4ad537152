#pragma once

#include <QDate>
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

// The statement and its bound values: one row per card, ordered by the next inspection,
// then customer and source. Columns: id_topneho_zdroje, id_zakaznika, pristi_revize, dni,
// zakaznik, mesto, telefon, mobil, email, zdroj, vyrobni_cislo, kategorie, posledni_datum,
// posledni_cinnost, upozorneno, zpusob_upozorneni.
QString sql();
QVariantList params(const PlanFilter& filter);

// How many cards of watched customers are overdue today.
int overdueCount(Connection& connection, const QDate& today);

} // namespace PlanQuery
