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
    // Where in sql a keyword LIKE starts: the file's LIKE ignores letter case, the server's
    // ILIKE does the same, so a query for both databases gets ILIKE on the server.
    QList<qsizetype> likes;
};

// One [dotaz] section: the common query, or one that a database uses instead of it.
struct TemplateQuery
{
    QString driver; // empty for [dotaz]; QSQLITE or QPSQL for [dotaz QSQLITE], [dotaz QPSQL]
    QString sql;    // as written
    int line = 0;   // line of its first line
    PreparedQuery prepared;
};

// A date the report computes rather than asks for ([datum jméno], hodnota = dnes + dni):
// today or a date parameter, plus or minus whole days, a fixed number or a number parameter.
struct DerivedDate
{
    QString name;          // used in the query as :name
    QString base;          // "dnes" or the name of a date parameter
    QString daysParameter; // the name of a number parameter, or empty for fixedDays
    int fixedDays = 0;
    bool subtract = false;
    int line = 0;
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
    QList<DerivedDate> derivedDates;
    QList<TemplateQuery> queries; // the common one and those of a single database, as written
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

    // The query a database runs: its own [dotaz QSQLITE] or [dotaz QPSQL], else the common
    // [dotaz]; none when the template has neither.
    const TemplateQuery* queryFor(const QString& driver) const
    {
        const TemplateQuery* common = nullptr;
        for (const TemplateQuery& q : queries) {
            if (q.driver == driver)
                return &q;
            if (q.driver.isEmpty())
                common = &q;
        }
        return common;
    }
};

} // namespace pm41
