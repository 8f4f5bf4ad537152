#pragma once

#include "report/Export.h"
#include "report/Template.h"

#include <QVariant>

namespace pm41 {

// How a value of the query is shown in a report cell. Dates d.M.yyyy; money with two
// decimals, a decimal comma and a space between thousands; numbers with a decimal comma.
// NULL shows as nothing; a text that is no date stays as it is.
PM41_EXPORT QString formatValue(const QVariant& value, ValueFormat format);
PM41_EXPORT QString formatMoney(double value);

// Money in ten-thousandths of a crown, the precision the database keeps, so that sums of
// many rows are exact.
qint64 moneyUnits(const QVariant& value);

// Whether a row is marked by a field: a non-zero number, or a text other than "0" and "".
bool isNonZero(const QVariant& value);

} // namespace pm41
