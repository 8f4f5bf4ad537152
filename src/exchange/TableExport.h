#pragma once

#include "exchange/TableWriters.h"

#include <QString>

class DataSet;
class QWidget;

// The export of a window's table to a file of the user's choice, as XML or CSV: the data
// set's rows, or those a window lists, in its order.
void ExportovatTabulku(DataSet* dataSet, const QString& suggestedName, QWidget* owner,
                       const TableWriters::RowSelection& rows = {});

// Both write a new file that replaces an existing one only when complete; they throw
// AppError when the file cannot be written. The CSV export returns how many characters
// the code page could not hold and became "?".
void UlozitXML(const DataSet& dataSet, const QString& path, const QString& rootName,
               const TableWriters::RowSelection& rows = {});
qsizetype UlozitCSV(const DataSet& dataSet, const QString& path, const TableWriters::RowSelection& rows = {});

// What the user is told after a CSV export replaced characters.
QString replacedCharactersText(qsizetype count);
