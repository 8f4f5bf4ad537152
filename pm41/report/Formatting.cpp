#include "report/Formatting.h"

#include <QDate>

#include <cmath>

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

QString groupThousands(qint64 whole)
{
    QString digits = QString::number(whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return digits;
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
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    if (value.typeId() != QMetaType::Double || d == std::floor(d))
        return QString::number(qint64(std::llround(d)));
    return QString::number(d, 'f', 2).replace(u'.', u',');
}

} // namespace

QString formatMoney(double value)
{
    const qint64 cents = std::llround(value * 100.0);
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return (cents < 0 ? QStringLiteral("-") : QString()) + groupThousands(magnitude / 100) + u',' +
           QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString formatValue(const QVariant& value, ValueFormat format)
{
    if (value.isNull())
        return {};
    switch (format) {
    case ValueFormat::Date:
        return formatDate(value);
    case ValueFormat::Money: {
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

qint64 moneyUnits(const QVariant& value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && !value.isNull() ? std::llround(d * 10000.0) : 0;
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
