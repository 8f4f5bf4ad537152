#pragma once

#include <QString>

class DataSet;
class QWidget;

// The export of a window's table to a file of the user's choice, as XML or CSV.
void ExportovatTabulku(DataSet* dataSet, const QString& suggestedName, QWidget* owner);

// Both write a new file that replaces an existing one only when complete; they throw
// AppError when the file cannot be written.
void UlozitXML(const DataSet& dataSet, const QString& path, const QString& rootName);
void UlozitCSV(const DataSet& dataSet, const QString& path);
