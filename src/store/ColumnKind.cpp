#include "store/ColumnKind.h"

#include "helpers/ConversionError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

ColumnKind kindFromDeclaredType(const QString& declaredType, int* maxLength)
{
    const QString type = declaredType.trimmed().toUpper();
    if (maxLength)
        *maxLength = 0;
    static const QRegularExpression sized(
        QStringLiteral("^(VARCHAR|CHAR|TEXT|NVARCHAR)\\s*\\(\\s*(\\d+)\\s*\\)$"));
    if (const auto m = sized.match(type); m.hasMatch()) {
        if (maxLength)
            *maxLength = m.captured(2).toInt();
        return ColumnKind::Text;
    }
    if (type == u"BIT" || type == u"BOOLEAN" || type == u"YESNO" || type == u"LOGICAL")
        return ColumnKind::YesNo;
    if (type == u"MONEY" || type == u"CURRENCY")
        return ColumnKind::Money;
    if (type == u"DATE")
        return ColumnKind::Date;
    if (type == u"DATETIME" || type == u"TIMESTAMP")
        return ColumnKind::DateTime;
    if (type == u"YEAR")
        return ColumnKind::Year;
    if (type == u"MEMO" || type == u"LONGTEXT" || type == u"TEXT" || type == u"CLOB")
        return ColumnKind::LongText;
    if (type == u"REAL" || type == u"FLOAT" || type == u"DOUBLE")
        return ColumnKind::Float;
    if (type.contains(u"INT") || type == u"COUNTER" || type == u"LONG")
        return ColumnKind::Integer;
    return ColumnKind::Text;
}

namespace FieldValues {

namespace {

const QString isoDate = QStringLiteral("yyyy-MM-dd");
const QString isoDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A digit's value, or -1.
int digit(QChar c)
{
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

// The number written by the digits from..to-1 of s, or -1 when one is not a digit.
int number(QStringView s, int from, int to)
{
    int value = 0;
    for (int i = from; i < to; ++i) {
        const int d = digit(s[i]);
        if (d < 0)
            return -1;
        value = value * 10 + d;
    }
    return value;
}

// Reading a customer's cards and activities converts thousands of stored dates, and
// QDate::fromString reads its format anew for every one: the stored form is read by hand,
// anything else (which the database never holds) the slow way.
QDate dateFromStorage(const QString& s)
{
    if (s.size() >= 10 && s[4] == u'-' && s[7] == u'-') {
        const int year = number(s, 0, 4);
        const int month = number(s, 5, 7);
        const int day = number(s, 8, 10);
        if (year > 0 && month >= 0 && day >= 0)
            return QDate(year, month, day);
    }
    return QDate::fromString(s.left(10), isoDate);
}

// A time is kept by its date and time of day, which are UTC: the stored numbers are read as
// such, and the server's driver, which hands them over as a time of the machine's zone, is
// taken by its numbers too.
QDateTime dateTimeFromStorage(const QString& s)
{
    if (s.size() <= 10)
        return QDateTime(dateFromStorage(s), QTime(0, 0), Qt::UTC);
    const QTime time = QTime::fromString(s.mid(11, 8), QStringLiteral("HH:mm:ss"));
    return time.isValid() ? QDateTime(dateFromStorage(s), time, Qt::UTC) : QDateTime();
}

QDateTime storedNumbersInUtc(const QDateTime& value)
{
    return QDateTime(value.date(), value.time(), Qt::UTC);
}

[[noreturn]] void refuse(const QString& what, const QString& text)
{
    throw ConversionError(QStringLiteral("„%1“ %2").arg(text, what));
}

} // namespace

QString moneyText(qint64 v)
{
    const bool negative = v < 0;
    const quint64 magnitude = negative ? quint64(-(v + 1)) + 1 : quint64(v);
    QString out = QString::number(magnitude / 10000);
    QString decimals = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (decimals.endsWith(u'0'))
        decimals.chop(1);
    if (!decimals.isEmpty())
        out += u',' + decimals;
    return negative ? u'-' + out : out;
}

bool parseMoney(const QString& text, qint64* result)
{
    static const QRegularExpression form(QStringLiteral("^([+-]?)(\\d{0,11})(?:[.,](\\d{0,4}))?$"));
    QString t = text.trimmed();
    t.remove(u' ');
    t.remove(QChar(0xA0));
    const auto m = form.match(t);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
        return false;
    const qint64 whole = m.captured(2).isEmpty() ? 0 : m.captured(2).toLongLong();
    const qint64 fraction = m.captured(3).leftJustified(4, u'0').toLongLong();
    const qint64 v = whole * 10000 + fraction;
    *result = m.captured(1) == u"-" ? -v : v;
    return true;
}

QString dateText(const QDate& date)
{
    if (!date.isValid())
        return QString();
    // By hand for the same reason as reading: grids show thousands of dates.
    if (date.year() < 1000 || date.year() > 9999)
        return date.toString(QStringLiteral("d.M.yyyy"));
    QString text;
    text.reserve(10);
    text += QString::number(date.day());
    text += u'.';
    text += QString::number(date.month());
    text += u'.';
    text += QString::number(date.year());
    return text;
}

bool parseDate(const QString& text, QDate* date)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid())
        return false;
    *date = d;
    return true;
}

QVariant fromStorage(ColumnKind kind, const QVariant& stored)
{
    if (stored.isNull())
        return {};
    bool ok = false;
    switch (kind) {
    case ColumnKind::AutoKey:
    case ColumnKind::Integer:
    case ColumnKind::Year: {
        const qint64 v = stored.toLongLong(&ok);
        return ok ? QVariant(v) : stored;
    }
    case ColumnKind::Float: {
        const double v = stored.toDouble(&ok);
        return ok ? QVariant(v) : stored;
    }
    case ColumnKind::Money: {
        const double v = stored.toDouble(&ok);
        return ok ? QVariant(qint64(std::llround(v * 10000.0))) : stored;
    }
    case ColumnKind::Date: {
        const QDate d = dateFromStorage(stored.toString());
        return d.isValid() ? QVariant(d) : stored;
    }
    case ColumnKind::DateTime: {
        if (stored.typeId() == QMetaType::QDateTime)
            return storedNumbersInUtc(stored.toDateTime());
        const QDateTime d = dateTimeFromStorage(stored.toString());
        return d.isValid() ? QVariant(d) : stored;
    }
    case ColumnKind::YesNo:
        if (stored.typeId() == QMetaType::QString) {
            const QString s = stored.toString().toLower();
            if (s == u"true")
                return true;
            if (s == u"false")
                return false;
        }
        return stored.toLongLong() != 0;
    case ColumnKind::Text:
    case ColumnKind::LongText:
        return stored.toString();
    }
    return stored;
}

void adoptFromStorage(ColumnKind kind, QVariant& value)
{
    const int type = value.typeId();
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::LongText:
        if (type == QMetaType::QString && !value.isNull())
            return;
        break;
    case ColumnKind::AutoKey:
    case ColumnKind::Integer:
    case ColumnKind::Year:
        if (type == QMetaType::LongLong)
            return;
        break;
    case ColumnKind::Float:
        if (type == QMetaType::Double)
            return;
        break;
    case ColumnKind::Date:
        if (type == QMetaType::QDate && !value.isNull())
            return;
        break;
    case ColumnKind::YesNo:
        if (type == QMetaType::Bool && !value.isNull())
            return;
        break;
    default:
        break;
    }
    if (type == QMetaType::UnknownType)
        return;
    value = fromStorage(kind, value);
}

QVariant toStorage(ColumnKind kind, const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (kind) {
    case ColumnKind::Money:
        return value.toLongLong() / 10000.0;
    case ColumnKind::Date:
        return value.typeId() == QMetaType::QDate ? QVariant(value.toDate().toString(isoDate)) : value;
    case ColumnKind::DateTime:
        return value.typeId() == QMetaType::QDateTime ? QVariant(value.toDateTime().toString(isoDateTime))
                                                      : value;
    case ColumnKind::YesNo:
        return value.toBool();
    default:
        return value;
    }
}

QVariant normalize(ColumnKind kind, const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QString && kind != ColumnKind::Text && kind != ColumnKind::LongText)
        return parse(kind, value.toString());
    switch (kind) {
    case ColumnKind::AutoKey:
    case ColumnKind::Integer:
    case ColumnKind::Year:
        return value.toLongLong();
    case ColumnKind::Money:
        // a floating-point value is an amount in crowns, an integer one in ten-thousandths
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return qint64(std::llround(value.toDouble() * 10000.0));
        return value.toLongLong();
    case ColumnKind::Float:
        return value.toDouble();
    case ColumnKind::Date:
        return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
    case ColumnKind::DateTime:
        return storedNumbersInUtc(value.toDateTime());
    case ColumnKind::YesNo:
        return value.toBool();
    case ColumnKind::Text:
    case ColumnKind::LongText:
        return value.toString();
    }
    return value;
}

QString text(ColumnKind kind, const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (kind) {
    case ColumnKind::Money:
        if (value.typeId() == QMetaType::LongLong)
            return moneyText(value.toLongLong());
        break;
    case ColumnKind::Float:
        if (value.typeId() == QMetaType::Double)
            return QString::number(value.toDouble(), 'g', 15).replace(u'.', u',');
        break;
    case ColumnKind::Date:
        if (value.typeId() == QMetaType::QDate)
            return dateText(value.toDate());
        break;
    case ColumnKind::DateTime:
        if (value.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = value.toDateTime();
            if (dt.time() == QTime(0, 0))
                return dateText(dt.date());
            return dateText(dt.date()) + u' ' + dt.time().toString(QStringLiteral("H:mm:ss"));
        }
        break;
    case ColumnKind::YesNo:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        break;
    }
    return value.toString();
}

QVariant parse(ColumnKind kind, const QString& input)
{
    const QString t = input.trimmed();
    if (kind != ColumnKind::Text && kind != ColumnKind::LongText && t.isEmpty())
        return {};
    switch (kind) {
    case ColumnKind::AutoKey:
    case ColumnKind::Integer:
    case ColumnKind::Year: {
        bool ok = false;
        const int v = t.toInt(&ok);
        if (!ok)
            refuse(QStringLiteral("není platné celé číslo."), input);
        return qint64(v);
    }
    case ColumnKind::Float: {
        bool ok = false;
        const double v = QString(t).replace(u',', u'.').toDouble(&ok);
        if (!ok)
            refuse(QStringLiteral("není platné číslo."), input);
        return v;
    }
    case ColumnKind::Money: {
        qint64 v = 0;
        if (!parseMoney(t, &v))
            refuse(QStringLiteral("není platná částka."), input);
        return v;
    }
    case ColumnKind::Date: {
        QDate d;
        if (!parseDate(t, &d))
            refuse(QStringLiteral("není platné datum."), input);
        return d;
    }
    case ColumnKind::DateTime: {
        const QStringList parts = t.split(u' ', Qt::SkipEmptyParts);
        QDate d;
        if (parts.isEmpty() || parts.size() > 2 || !parseDate(parts[0], &d))
            refuse(QStringLiteral("není platné datum a čas."), input);
        QTime time(0, 0);
        if (parts.size() == 2) {
            time = QTime::fromString(parts[1], QStringLiteral("H:mm:ss"));
            if (!time.isValid())
                time = QTime::fromString(parts[1], QStringLiteral("H:mm"));
            if (!time.isValid())
                refuse(QStringLiteral("není platné datum a čas."), input);
        }
        return QDateTime(d, time, Qt::UTC);
    }
    case ColumnKind::YesNo: {
        const QString l = t.toLower();
        if (l == u"true" || l == u"ano")
            return true;
        if (l == u"false" || l == u"ne")
            return false;
        refuse(QStringLiteral("není platná hodnota ano/ne."), input);
    }
    case ColumnKind::Text:
    case ColumnKind::LongText:
        return input;
    }
    return input;
}

} // namespace FieldValues
