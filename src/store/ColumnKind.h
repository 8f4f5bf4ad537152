#pragma once

#include <QString>
#include <QVariant>

// What a column holds, taken from its declared type in the schema. Export, import,
// the data-aware widgets and validation all work from this one classification.
enum class ColumnKind
{
    AutoKey, // INTEGER PRIMARY KEY AUTOINCREMENT, assigned by the database
    Integer,
    Year,
    Float,
    Money,    // held as ten-thousandths in a qint64, stored as REAL
    Date,     // QDate, stored as YYYY-MM-DD
    DateTime, // QDateTime in UTC, stored as YYYY-MM-DD HH:MM:SS
    YesNo,    // bool, stored as 0/1 in the file, as a boolean on the server
    Text,     // with a maximum length
    LongText,
};

struct ColumnInfo
{
    QString name;
    ColumnKind kind = ColumnKind::Text;
    int maxLength = 0; // for Text; 0 = no limit known
    QString table;     // table the column comes from, empty for expressions
};

// Kind and maximum length from a declared type such as "VARCHAR(100)", "BIT" or "MONEY".
ColumnKind kindFromDeclaredType(const QString& declaredType, int* maxLength = nullptr);

namespace FieldValues {

// The database's stored value turned into the program's value for the kind (lenient:
// a value that does not fit is kept as it is).
QVariant fromStorage(ColumnKind kind, const QVariant& stored);
// The same in place, leaving alone a value the engine already gave in the program's form
// (reading a table converts every cell, so the common case costs nothing).
void adoptFromStorage(ColumnKind kind, QVariant& value);

// The program's value turned into what is written to the database.
QVariant toStorage(ColumnKind kind, const QVariant& value);

// Brings a value handed in by the program to the kind's own type; throws ConversionError.
// For money, a floating-point value is an amount in crowns, an integer one ten-thousandths;
// a time is taken by its date and time of day, as UTC (hand in currentDateTimeUtc()).
QVariant normalize(ColumnKind kind, const QVariant& value);

// The value as text under Czech regional settings: dates d.M.yyyy, money with up to four
// decimals and a decimal comma, yes/no as True/False, null as empty text.
QString text(ColumnKind kind, const QVariant& value);

// Reads a text typed by the user; an empty text gives null. Throws ConversionError.
QVariant parse(ColumnKind kind, const QString& text);

// Money helpers: ten-thousandths of a crown.
QString moneyText(qint64 tenThousandths);
bool parseMoney(const QString& text, qint64* tenThousandths);

QString dateText(const QDate& date);
bool parseDate(const QString& text, QDate* date);

} // namespace FieldValues
