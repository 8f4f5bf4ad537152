#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace pm41 {

enum class Orientation
{
    Portrait,
    Landscape
};
enum class ParameterKind
{
    Number,
    Date
};
enum class Alignment
{
    Left,
    Right,
    Center
};
enum class ValueFormat
{
    Text,
    Date,
    Money,
    Number
};

// A value the user sets in the generator's window before the report is shown.
struct PromptedParameter
{
    QString name; // used in the query as :name
    ParameterKind kind = ParameterKind::Number;
    QString caption;      // label in the window and in the report header
    int defaultValue = 0; // a number, or for a date the days from today (-30 = thirty days ago)
    int minimum = 0;
    int maximum = 99999;
    int line = 0;
};

struct Column
{
    QString field; // the query's result column
    QString title;
    double width = 1; // relative to the other columns
    Alignment alignment = Alignment::Left;
    ValueFormat format = ValueFormat::Text;
    int line = 0;
};

struct Totals
{
    QStringList fields; // money columns summed under the rows
    QString caption = QStringLiteral("Celkem");
    bool currency = true; // " Kč" after the sums
    int line = 0;
};

// Rows whose field is non-zero are printed bold and dark red, with a legend line at the end.
struct RowMark
{
    QString field;
    QString legend;
    int line = 0;
};

// The query with its :names replaced by positional markers, in the order they are bound.
struct PreparedQuery
{
    QString sql;
    QStringList names;
};

struct Template
{
    QString title;
    QString description;
    Orientation orientation = Orientation::Portrait;
    double fontSize = 8; // of the rows, in points
    bool requiresCustomer = false;
    QList<PromptedParameter> parameters;
    QString sql;     // as written
    int sqlLine = 0; // line of its first line
    PreparedQuery query;
    QList<Column> columns;
    std::optional<Totals> totals;
    std::optional<RowMark> mark;
};

} // namespace pm41
