#include "web/RequestIds.h"

#include "store/Connection.h"
#include "web/ApiError.h"
#include "web/StoredTime.h"

namespace RequestIds {

std::optional<qint64> earlierRow(Connection& connection, const QString& requestId, qint64 account,
                                 const QString& table)
{
    // The same request sent again while the first is being written waits for it and then
    // finds its row: on the file the writes take turns anyway, on the server the id is held
    // until the transaction that claimed it ends.
    if (connection.isServer())
        connection.execute(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"), {requestId});
    const ResultSet r = connection.query(
        QStringLiteral("SELECT ucet, tabulka, id_radku FROM web_prijato WHERE id_pozadavku = ?"),
        {requestId});
    if (r.isEmpty())
        return std::nullopt;
    const QList<QVariant>& row = r.rows.first();
    if (row[0].toLongLong() != account || row[1].toString() != table)
        throw ApiError(409, QStringLiteral("Tento identifikátor požadavku už byl použit pro jiný zápis."),
                       QStringLiteral("id_pozadavku"));
    return row[2].toLongLong();
}

std::optional<qint64> writtenRow(Connection& connection, const QString& requestId, qint64 account,
                                 const QString& table)
{
    const ResultSet r = connection.query(
        QStringLiteral(
            "SELECT id_radku FROM web_prijato WHERE id_pozadavku = ? AND ucet = ? AND tabulka = ?"),
        {requestId, account, table});
    if (r.isEmpty())
        return std::nullopt;
    return r.rows[0][0].toLongLong();
}

void remember(Connection& connection, const QString& requestId, qint64 account, const QString& table,
              qint64 rowId, const QDateTime& now)
{
    connection.execute(
        QStringLiteral(
            "INSERT INTO web_prijato (id_pozadavku, ucet, tabulka, id_radku, cas) VALUES (?, ?, ?, ?, ?)"),
        {requestId, account, table, rowId, StoredTime::text(now)});
}

} // namespace RequestIds
