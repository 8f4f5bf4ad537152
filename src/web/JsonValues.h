#pragma once

#include "store/ColumnKind.h"
#include "store/Connection.h"

#include <QJsonObject>
#include <QJsonValue>

// Values of the database in the API's JSON: dates as YYYY-MM-DD, money as a string with a
// decimal point, yes/no as booleans, null as null.
namespace JsonValues {

QJsonValue fromStored(ColumnKind kind, const QVariant& stored);
// The same from a value in the program's form (FieldValues).
QJsonValue fromProgram(ColumnKind kind, const QVariant& value);
// One row of a result, every column under its name.
QJsonObject row(const ResultSet& result, int rowIndex);
QString moneyText(qint64 tenThousandths);

} // namespace JsonValues
