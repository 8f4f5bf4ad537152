#pragma once

#include "report/Template.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QStringList>

namespace pm41 {

struct ReportRow
{
    QStringList cells; // shown text, one per column
    bool marked = false;
};

struct ReportTotal
{
    int column = -1;  // index into the report's columns
    double value = 0; // the exact sum; NaN when it could not be kept exactly
    QString amount;   // the sum as printed without the unit, "####" for NaN
    QString text;     // as printed, with the unit
};

// One letter of a letter report: a run of rows and its texts, filled in from its first row.
struct ReportGroup
{
    int firstRow = 0;
    int rowCount = 0;
    QStringList recipient; // the address block, one entry a line
    QStringList intro;     // text before the rows; an empty entry is a gap between paragraphs
    QStringList closing;   // text after the rows, the same way
};

// A report ready to be painted: the header, the rows as they are shown, the totals.
struct ReportData
{
    QString title;
    Orientation orientation = Orientation::Portrait;
    double fontSize = 8;
    QString companyName;
    QStringList companyAddress;
    QStringList companyContacts;
    QString customer;                          // "name, street, PSČ town" for a report of the open customer
    QList<QPair<QString, QString>> parameters; // caption, value as shown
    QDate printed;

    QList<Column> columns;
    QList<ReportRow> rows;
    QString totalsCaption;
    QString totalsUnit; // "Kč" after each sum, or empty
    QList<ReportTotal> totals;
    QString legend; // empty without a marking rule
    int markedCount = 0;

    // A letter report is painted letter by letter, each from a new page; none when there
    // are no rows.
    bool letter = false;
    QList<ReportGroup> groups;

    // The sum under a column by its field; 0 when the column has no sum, NaN when it could
    // not be kept exactly.
    double total(const QString& field) const
    {
        for (const ReportTotal& t : totals)
            if (columns.value(t.column).field.compare(field, Qt::CaseInsensitive) == 0)
                return t.value;
        return 0;
    }
};

} // namespace pm41
