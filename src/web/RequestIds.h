#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class Connection;

// The request ids of the writes (web_prijato): a write sent twice is recorded once, and the
// second answer shows the row the first one wrote.
namespace RequestIds {

// The row the request wrote before into that table, or nothing when the id is new; inside
// the write's transaction, which holds the id until it ends. An id used for another table
// or by another account is refused (ApiError 409).
std::optional<qint64> earlierRow(Connection& connection, const QString& requestId, qint64 account,
                                 const QString& table);
// The row a request of the account wrote into the table, or nothing when it has not been
// written (yet); a plain look, for a write that builds on an earlier one.
std::optional<qint64> writtenRow(Connection& connection, const QString& requestId, qint64 account,
                                 const QString& table);
void remember(Connection& connection, const QString& requestId, qint64 account, const QString& table,
              qint64 rowId, const QDateTime& now);

} // namespace RequestIds
