#include "store/PostgresResult.h"

#include <QDate>
#include <QDateTime>
#include <QHash>

#include <charconv>
#include <vector>

namespace {

// The server's type numbers the program's tables use.
enum TypeOid : Oid
{
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    TextOid = 25,
    Float4Oid = 700,
    Float8Oid = 701,
    DateOid = 1082,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    NumericOid = 1700,
};

ColumnInfo describe(const PGresult* result, int column)
{
    ColumnInfo info;
    info.name = QString::fromUtf8(PQfname(result, column));
    switch (PQftype(result, column)) {
    case BoolOid:
        info.kind = ColumnKind::YesNo;
        break;
    case Int8Oid:
    case Int4Oid:
        info.kind = info.name == u"id" ? ColumnKind::AutoKey : ColumnKind::Integer;
        break;
    case Int2Oid: // the year of manufacture
        info.kind = ColumnKind::Year;
        break;
    case TextOid:
        info.kind = ColumnKind::LongText;
        break;
    case Float4Oid:
    case Float8Oid:
        info.kind = ColumnKind::Float;
        break;
    case DateOid:
        info.kind = ColumnKind::Date;
        break;
    case TimestampOid:
    case TimestampTzOid:
        info.kind = ColumnKind::DateTime;
        break;
    case NumericOid: // numeric(19,4): money
        info.kind = ColumnKind::Money;
        break;
    default: {
        info.kind = ColumnKind::Text;
        // varchar(n) comes with n and the length word's four bytes
        const int modifier = PQfmod(result, column);
        info.maxLength = modifier > 4 ? modifier - 4 : 0;
        break;
    }
    }
    return info;
}

template <typename Number> bool parseNumber(const char* text, int length, Number* number)
{
    const auto [end, error] = std::from_chars(text, text + length, *number);
    return error == std::errc() && end == text + length;
}

// Dates come as YYYY-MM-DD under the server's ISO date style; anything else (a date before
// Christ, "infinity") is read by Qt's lenient parser or stays text.
QVariant dateValue(const char* text, int length)
{
    int year = 0, month = 0, day = 0;
    if (length == 10 && text[4] == '-' && text[7] == '-' && parseNumber(text, 4, &year) &&
        parseNumber(text + 5, 2, &month) && parseNumber(text + 8, 2, &day)) {
        const QDate date(year, month, day);
        if (date.isValid())
            return date;
    }
    const QString raw = QString::fromLatin1(text, length);
    const QDate date = QDate::fromString(raw, Qt::ISODate);
    return date.isValid() ? QVariant(date) : QVariant(raw);
}

QVariant timestampValue(const char* text, int length, bool withZone)
{
    QString raw = QString::fromLatin1(text, length);
    if (raw.size() > 10 && raw[10] == u' ')
        raw[10] = u'T';
    // The zone comes as +01 where ISO wants +01:00.
    if (withZone && raw.size() > 3 && (raw[raw.size() - 3] == u'+' || raw[raw.size() - 3] == u'-'))
        raw += QStringLiteral(":00");
    const QDateTime stamp = QDateTime::fromString(raw, Qt::ISODateWithMs);
    if (!stamp.isValid())
        return QString::fromLatin1(text, length);
    return withZone ? stamp.toLocalTime() : stamp;
}

// Texts that repeat down a column (towns, categories, names of customers with several cards)
// are made once and shared by every row; a column whose texts mostly differ (serial numbers)
// stops being looked up after a first sample. A long list reads several times faster so.
class ColumnTexts
{
public:
    QString text(const char* data, int length)
    {
        if (!m_sharing)
            return QString::fromUtf8(data, length);
        const auto found = m_seen.constFind(QByteArray::fromRawData(data, length));
        if (found != m_seen.cend())
            return *found;
        QString made = QString::fromUtf8(data, length);
        m_seen.insert(QByteArray(data, length), made);
        if (++m_made == sample && m_seen.size() > sample / 2) {
            m_sharing = false;
            m_seen.clear();
        }
        return made;
    }

private:
    static constexpr int sample = 256;
    QHash<QByteArray, QString> m_seen;
    int m_made = 0;
    bool m_sharing = true;
};

QVariant value(const PGresult* result, int row, int column, Oid type, ColumnTexts& texts)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char* text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (type) {
    case BoolOid:
        return length > 0 && text[0] == 't';
    case Int2Oid:
    case Int4Oid:
    case Int8Oid: {
        qlonglong number = 0;
        if (parseNumber(text, length, &number))
            return number;
        break;
    }
    case Float4Oid:
    case Float8Oid: {
        double number = 0;
        if (parseNumber(text, length, &number))
            return number;
        break;
    }
    case NumericOid: // exact, as text: money must not pass through a double here
        return QString::fromLatin1(text, length);
    case DateOid:
        return dateValue(text, length);
    case TimestampOid:
    case TimestampTzOid:
        return timestampValue(text, length, type == TimestampTzOid);
    case ByteaOid: {
        size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
        PQfreemem(bytes);
        return data;
    }
    default:
        break;
    }
    return texts.text(text, length);
}

} // namespace

namespace PostgresResult {

ResultSet rows(const PGresult* result)
{
    ResultSet set;
    const int columns = PQnfields(result);
    const int count = PQntuples(result);
    QList<Oid> types;
    std::vector<ColumnTexts> texts(static_cast<size_t>(columns));
    set.columns.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        set.columns.append(describe(result, c));
        types.append(PQftype(result, c));
    }
    set.rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        QList<QVariant> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.append(value(result, r, c, types[c], texts[size_t(c)]));
        set.rows.append(std::move(row));
    }
    return set;
}

QByteArray parameterText(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::ULong:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
    case QMetaType::QByteArray:
        return value.toByteArray();
    default:
        return value.toString().toUtf8();
    }
}

} // namespace PostgresResult
