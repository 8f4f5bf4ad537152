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
