#include "web/Sessions.h"

#include "store/Connection.h"
#include "web/StoredTime.h"

#include <QCryptographicHash>

#include <openssl/rand.h>

#include <stdexcept>

namespace Sessions {

namespace {

const std::string cookieName = "__Host-vestibor";
const std::string cookieAttributes = "; Path=/; Secure; HttpOnly; SameSite=Strict";

} // namespace

QString hashOf(const QString& token)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(token.toLatin1(), QCryptographicHash::Sha256).toHex());
}

QString start(Connection& connection, qint64 account, const QDateTime& now)
{
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        throw std::runtime_error("no random bytes");
    const QString token =
        QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes)
                                .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    connection.execute(
        QStringLiteral("INSERT INTO web_relace (token_hash, ucet, vytvoreno, naposledy, platnost_do) "
                       "VALUES (?, ?, ?, ?, ?)"),
        {hashOf(token), account, StoredTime::text(now), StoredTime::text(now),
         StoredTime::text(now.addSecs(HoursValid * 3600))});
    return token;
}

std::optional<SignedInAccount> find(Connection& connection, const QString& tokenHash, const QDateTime& now,
                                    QDateTime* lastSeen)
{
    const ResultSet r = connection.query(
        QStringLiteral(
            "SELECT u.id, u.login, u.role, u.technik, u.aktivni, u.zmenit_heslo, t.jmeno_technika, "
            "r.platnost_do, r.naposledy FROM web_relace r CROSS JOIN web_ucty u LEFT JOIN cis_technici t ON "
            "t.cislo = u.technik WHERE r.token_hash = ? AND u.id = r.ucet"),
        {tokenHash});
    if (r.isEmpty())
        return std::nullopt;
    const QList<QVariant>& row = r.rows.first();
    const bool active = FieldValues::fromStorage(ColumnKind::YesNo, row[4]).toBool();
    if (!active || StoredTime::fromStored(row[7]) <= now)
        return std::nullopt;
    if (lastSeen)
        *lastSeen = StoredTime::fromStored(row[8]);
    SignedInAccount account;
    account.id = row[0].toLongLong();
    account.login = row[1].toString();
    account.role = row[2].toString();
    account.technician = row[3].toInt();
    account.mustChangePassword = FieldValues::fromStorage(ColumnKind::YesNo, row[5]).toBool();
    account.technicianName = row[6].toString();
    return account;
}

void seen(Connection& connection, const QString& tokenHash, const QDateTime& now)
{
    connection.execute(QStringLiteral("UPDATE web_relace SET naposledy = ? WHERE token_hash = ?"),
                       {StoredTime::text(now), tokenHash});
}

void end(Connection& connection, const QString& tokenHash)
{
    connection.execute(QStringLiteral("DELETE FROM web_relace WHERE token_hash = ?"), {tokenHash});
}

QString tokenFromCookies(const std::string& cookieHeader)
{
    const std::string prefix = cookieName + '=';
    size_t at = 0;
    while (at < cookieHeader.size()) {
        while (at < cookieHeader.size() && (cookieHeader[at] == ' ' || cookieHeader[at] == ';'))
            ++at;
        const size_t end = cookieHeader.find(';', at);
        const std::string part =
            cookieHeader.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (part.compare(0, prefix.size(), prefix) == 0) {
            const std::string value = part.substr(prefix.size());
            if (value.size() == 43 &&
                value.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                        "0123456789-_") == std::string::npos)
                return QString::fromStdString(value);
            return QString();
        }
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return QString();
}

std::string cookie(const QString& token)
{
    return cookieName + '=' + token.toStdString() + cookieAttributes;
}

std::string clearedCookie()
{
    return cookieName + '=' + cookieAttributes + "; Max-Age=0";
}

} // namespace Sessions
