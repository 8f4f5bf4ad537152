#pragma once

#include <QString>

// The line logged for each request: method, path without its query, status, milliseconds
// and the account's id; never a cookie, a password or what the request carried.
namespace RequestLog {
QString line(const QString& method, const QString& path, int status, qint64 milliseconds, qint64 account);
}
