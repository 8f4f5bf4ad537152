#pragma once

#include "accounts/PasswordHasher.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class Connection;

// One row of web_ucty as the office sees it.
struct WebAccount
{
    qint64 id = 0;
    QString login;
    QString role;                  // "technik" or "kancelar"
    std::optional<int> technician; // cis_technici.cislo; none only for an office account
    QString technicianName;        // empty when none, or when the code list lost the number
    bool active = false;
    bool mustChangePassword = false; // holds a one-time password
    QDateTime created;               // UTC
    QDateTime lastSignIn;            // UTC; invalid when never
};

// The technicians' web accounts: the office adds them, hands out one-time passwords and
// blocks them (the desktop window, the command line), the technician changes his password
// (the web app). Each change is one transaction with its audit row; blocking and a new
// password end the account's sessions in it. Refusals throw AccountError with the reason.
class WebAccounts
{
public:
    static inline const QString RoleTechnician = QStringLiteral("technik");
    static inline const QString RoleOffice = QStringLiteral("kancelar");

    explicit WebAccounts(Connection& connection, PasswordHasher hasher = PasswordHasher());

    // The client's address written into the audit rows (the web app); empty for none.
    void setClientAddress(const QString& address) { m_address = address; }

    QList<WebAccount> list() const; // by login
    std::optional<WebAccount> find(const QString& login) const;

    // A new active account with a one-time password, which is returned: shown once, never
    // stored but as its hash. The login is kept in lower case.
    QString add(const QString& login, const QString& role, std::optional<int> technician);
    // A new one-time password instead of the current one.
    QString setOneTimePassword(const QString& login);
    void block(const QString& login);
    void unblock(const QString& login);
    // The technician's own change: the current password, then a new one the policy takes.
    // Every other session of the account ends; keptSession (a token's hash) stays.
    void changePassword(const QString& login, const QString& current, const QString& newPassword,
                        const QString& keptSession = QString());

private:
    WebAccount existing(const QString& login) const;
    void setActive(const QString& login, bool active);
    void endSessions(qint64 account, const QString& kept = QString());
    void audit(const QString& event, const QVariant& actor, qint64 account, const QJsonObject& before,
               const QJsonObject& after);

    Connection& m_connection;
    PasswordHasher m_hasher;
    QString m_address;
};
