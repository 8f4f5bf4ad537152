#pragma once

#include "report/ReportData.h"
#include "report/UserData.h"

#include <QHash>
#include <QSqlDatabase>
#include <QVariant>

namespace pm41 {

// Values of the prompted parameters by name: a whole number, or a QDate. A parameter that is
// not given takes its template default. The values from the program come here too, as text.
using ParameterValues = QHash<QString, QVariant>;

// Runs the template's query through the given connection, the database file's or the
// server's, and shapes the rows for painting, alike on both. Reads only: nothing on the
// connection can change the database for the while. Faults are thrown as ReportError.
ReportData runTemplate(const Template& t, const UserData& user, const ParameterValues& values,
                       const QSqlDatabase& connection, const QDate& today);

} // namespace pm41
