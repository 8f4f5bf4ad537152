#pragma once

#include "web/SignedInAccount.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <string>

class Connection;

// Sessions of the web app: 32 random bytes in a cookie, only their hash in web_relace, for
// twelve hours.
namespace Sessions {

constexpr int HoursValid = 12;

// A new session of the account; returns its token (for the cookie only, stored nowhere).
QString start(Connection& connection, qint64 account, const QDateTime& now);
// The account of a valid session of an active account, or nothing; with when the session
// was seen last.
std::optional<SignedInAccount> find(Connection& connection, const QString& tokenHash, const QDateTime& now,
                                    QDateTime* lastSeen = nullptr);
// Notes that the session was seen now (the caller holds the write turn).
void seen(Connection& connection, const QString& tokenHash, const QDateTime& now);
// How long a session goes without noting that it was seen: a write for every request would
// make the readers take turns on the database file.
constexpr int SeenEverySeconds = 300;
void end(Connection& connection, const QString& tokenHash);

QString hashOf(const QString& token);
// The token in a Cookie header, empty when there is none of ours.
QString tokenFromCookies(const std::string& cookieHeader);
std::string cookie(const QString& token);
std::string clearedCookie();

} // namespace Sessions
