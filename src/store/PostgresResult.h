#pragma once

#include "store/Connection.h"

#include <libpq-fe.h>

#include <memory>

// A result of libpq, freed when it goes.
struct PgResultDeleter
{
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgResult = std::unique_ptr<PGresult, PgResultDeleter>;

namespace PostgresResult {

// The rows of a result in the values the program reads from the server: whole numbers as
// qlonglong (as the file gives them), yes/no as bool, dates as QDate, money exact as text, text as
// QString; null as a null QVariant. The columns carry their kind from the server's type.
ResultSet rows(const PGresult* result);

// A value handed to a statement, as the text the server reads it from; null stays null.
QByteArray parameterText(const QVariant& value);

} // namespace PostgresResult
