#pragma once

#include <QDate>

// The date of the next inspection: the date carried out plus the card's period in calendar
// months. The day of the month stays, or becomes the last day of a shorter month; a
// period of 0 gives the date carried out itself, a negative one goes back.
QDate nextInspectionDate(const QDate& carriedOut, int periodMonths);
