#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What one of the three small code lists is: its table, fields, validation, listing and
// export. The windows differ only by these values.
struct CodeListDefinition
{
    struct Field
    {
        QString label;     // caption of the label
        QString labelName; // La_...
        QString editName;  // Ed_...
        QString column;
        int width;
        QString emptyMessage; // the validation message when the field is empty
    };

    QString className;
    QString caption;
    QString table;
    QString listColumn;
    QString listTitle;
    QList<Field> fields;    // in tab order, one row each from y = 40
    QString editFocusField; // editName focused by "Oprava"
    QString quotedColumn;   // named by the delete question
    QString listingTitle;
    QString listingQuery;
    QString listingHeader;
    QStringList listingColumns;
    QString exportName;
};
