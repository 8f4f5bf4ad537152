#include "rules/NextRevisionDate.h"

QDate nextRevisionDate(const QDate& carriedOut, int periodMonths)
{
    if (periodMonths == 0 || !carriedOut.isValid())
        return carriedOut;
    return carriedOut.addMonths(periodMonths); // clamps to the last day of a shorter month
}
