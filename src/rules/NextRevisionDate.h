#pragma once

#include <QDate>

// The date of the next revision: the date carried out plus the card's period in calendar
// months. The day of the month stays, or becomes the last day of a shorter month; a
// period of 0 gives the date carried out itself, a negative one goes back; an invalid date
// stays invalid.
QDate nextRevisionDate(const QDate& carriedOut, int periodMonths);
