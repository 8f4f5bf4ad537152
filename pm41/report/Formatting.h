#pragma once

#include "report/Export.h"
#include "report/Template.h"

#include <QVariant>

#include <optional>

namespace pm41 {

// How a value of the query is shown in a report cell. Dates d.M.yyyy; money with two
// decimals, a decimal comma and a space between thousands; numbers with a decimal comma.
// NULL shows as nothing; a text that is no date stays as it is. A number that cannot be
// shown exactly (too large, NaN, infinite) shows as notShown.
PM41_EXPORT QString formatValue(const QVariant& value, ValueFormat format);
PM41_EXPORT QString formatMoney(double value);
// A value written into a letter's text: a date (or a text YYYY-MM-DD, as the database keeps
// dates) d.M.yyyy, a number with a decimal comma, anything else as it is.
QString formatInText(const QVariant& value);
// An amount in ten-thousandths, rounded to hundredths half away from zero.
QString formatMoneyUnits(qint64 tenThousandths);

inline const QString notShown = QStringLiteral("####");

// Money in ten-thousandths of a crown, the precision the database keeps, so that sums of
// many rows are exact. NULL and texts that are no number count as 0; no value when the
// amount cannot be kept exactly: a floating-point amount whose hundredths lie beyond what a
// double holds exactly (2^53), an integer beyond the range, NaN or infinity.
std::optional<qint64> moneyUnits(const QVariant& value);

// Whether a row is marked by a field: a non-zero number, or a text other than "0" and "".
bool isNonZero(const QVariant& value);

} // namespace pm41
