#include "store/ServerPassword.h"

#include <libpq-fe.h>

namespace ServerDatabase {

bool passwordWanted(const QString& connectionString)
{
    PGconn* connection = PQconnectdb(connectionString.toUtf8().constData());
    const bool wanted =
        connection && PQstatus(connection) == CONNECTION_BAD && PQconnectionNeedsPassword(connection) == 1;
    PQfinish(connection);
    return wanted;
}

} // namespace ServerDatabase
