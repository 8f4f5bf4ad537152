#include "report/Formatting.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace pm41 {

namespace {

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// Integers up to this are held exactly by a double; beyond it the last digits are lost.
constexpr double exactInDouble = 9007199254740992.0; // 2^53

// The value when it is held as an integer, which needs no rounding at all.
std::optional<qint64> wholeNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return v.toLongLong();
    case QMetaType::ULongLong:
        if (v.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
            return v.toLongLong();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// n / d rounded half away from zero, as the cells and the sums are printed.
qint64 roundedDivision(qint64 n, qint64 d)
{
    const qint64 quotient = n / d;
    const qint64 remainder = n % d;
    if (2 * (remainder < 0 ? -remainder : remainder) >= d)
        return quotient + (n < 0 ? -1 : 1);
    return quotient;
}

QString groupThousands(quint64 whole)
{
    QString digits = QString::number(whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return digits;
}

QString formatHundredths(qint64 cents)
{
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    return (cents < 0 ? QStringLiteral("-") : QString()) + groupThousands(magnitude / 100) + u',' +
           QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

// A floating-point amount in ten-thousandths, when its hundredths are held exactly. Going
// through the ten-thousandths the database keeps rounds 1.005 to 1,01 although the double
// lies a little below it.
std::optional<qint64> unitsOfDouble(double d)
{
    if (!std::isfinite(d) || std::fabs(d * 100.0) > exactInDouble)
        return std::nullopt;
    return std::llround(d * 10000.0); // at most 2^53 * 100, well inside qint64
}

QString formatDate(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("d.M.yyyy"));
    const QString text = value.toString();
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date.isValid() ? date.toString(QStringLiteral("d.M.yyyy")) : text;
}

QString formatNumber(const QVariant& value)
{
    if (const std::optional<qint64> whole = wholeNumber(value))
        return QString::number(*whole);
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    if (!std::isfinite(d) || std::fabs(d) > exactInDouble)
        return notShown;
    if (value.typeId() != QMetaType::Double || d == std::floor(d))
        return QString::number(qint64(std::llround(d)));
    return QString::number(d, 'f', 2).replace(u'.', u',');
}

} // namespace

QString formatMoney(double value)
{
    const std::optional<qint64> units = unitsOfDouble(value);
    return units ? formatMoneyUnits(*units) : notShown;
}

QString formatMoneyUnits(qint64 tenThousandths)
{
    return formatHundredths(roundedDivision(tenThousandths, 100));
}

QString formatInText(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (isNumber(value) && value.typeId() != QMetaType::Bool)
        return formatNumber(value);
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        return formatDate(value.toDate());
    // A date as stored, with a time of day or without one; "2024-05-01 ráno" is no date.
    static const QRegularExpression stored(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}(?:[ T]\\d{2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)?$"));
    const QString text = value.toString();
    if (stored.match(text).hasMatch() && QDate::fromString(text.left(10), Qt::ISODate).isValid())
        return formatDate(text);
    return formatValue(value, ValueFormat::Text);
}

QString formatValue(const QVariant& value, ValueFormat format)
{
    if (value.isNull())
        return {};
    switch (format) {
    case ValueFormat::Date:
        return formatDate(value);
    case ValueFormat::Money: {
        if (const std::optional<qint64> whole = wholeNumber(value)) {
            qint64 cents = 0;
            return __builtin_mul_overflow(*whole, 100, &cents) ? notShown : formatHundredths(cents);
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? formatMoney(d) : value.toString();
    }
    case ValueFormat::Number:
        return formatNumber(value);
    case ValueFormat::Text:
        break;
    }
    QString text = value.toString();
    // A memo's line breaks would run over the next row.
    if (text.contains(u'\n') || text.contains(u'\r'))
        text = text.simplified();
    return text;
}

std::optional<qint64> moneyUnits(const QVariant& value)
{
    if (value.isNull())
        return 0;
    if (const std::optional<qint64> whole = wholeNumber(value)) {
        qint64 units = 0;
        if (__builtin_mul_overflow(*whole, 10000, &units))
            return std::nullopt;
        return units;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok ? unitsOfDouble(d) : 0;
}

bool isNonZero(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (isNumber(value))
        return value.toDouble() != 0;
    const QString text = value.toString().trimmed();
    bool numeric = false;
    const double d = text.toDouble(&numeric);
    return numeric ? d != 0 : !text.isEmpty();
}

} // namespace pm41
