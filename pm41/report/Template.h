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

// A piece of a line of letter text: written text, or a placeholder {name} filled in when the
// report runs.
struct TextPiece
{
    QString text; // the text, or the placeholder's name
    bool placeholder = false;
};

// One line of a letter's text as written; a line without pieces is an empty line.
struct TextLine
{
    QList<TextPiece> pieces;
    int line = 0;
};

// The free text of [adresat], [uvod] or [zaver], line by line.
struct LetterText
{
    QList<TextLine> lines;
    int line = 0; // of the section's header
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

    // Values only the program hands over (:Zdroje); a report that needs them is printed
    // from the program's own window, not from the list of reports.
    QStringList programValues;
    int programValuesLine = 0;

    // A letter (a template with "skupina" or any of [adresat], [uvod], [zaver]): one for
    // each run of rows with the same value of groupField, or one for all rows when no field
    // is set, with its address block, opening and closing text.
    bool letter = false;
    QString groupField;
    int groupLine = 0;
    LetterText recipient, intro, closing;
};

} // namespace pm41
