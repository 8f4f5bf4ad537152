#include "accounts/WebAccounts.h"

#include "accounts/AccountError.h"
#include "accounts/OneTimePassword.h"
#include "accounts/PasswordPolicy.h"
#include "accounts/WebAudit.h"
#include "store/ColumnKind.h"
#include "store/Connection.h"
#include "store/Transaction.h"

#include <QJsonObject>
#include <QRegularExpression>

namespace {

constexpr int MaximumLoginLength = 50;

QString normalizedLogin(const QString& typed)
{
    const QString login = typed.trimmed().toLower();
    if (login.isEmpty())
        throw AccountError(QStringLiteral("Zadejte přihlašovací jméno."));
    if (login.size() > MaximumLoginLength)
        throw AccountError(
            QStringLiteral("Přihlašovací jméno smí mít nejvýše %1 znaků.").arg(MaximumLoginLength));
    static const QRegularExpression allowed(QStringLiteral("^[a-z0-9._-]+$"));
    if (!allowed.match(login).hasMatch())
        throw AccountError(QStringLiteral("Přihlašovací jméno smí obsahovat jen písmena bez diakritiky, "
                                          "číslice, tečku, pomlčku a podtržítko."));
    return login;
}

// A random password rarely holds the login or a common one; it is drawn again then.
QString oneTimePasswordFor(const QString& login)
{
    QString password;
    do
        password = OneTimePassword::make();
    while (!PasswordPolicy::problem(password, login).isEmpty());
    return password;
}

QVariant storedTime()
{
    return FieldValues::toStorage(ColumnKind::DateTime, QDateTime::currentDateTimeUtc());
}

QDateTime timeOf(const QVariant& stored)
{
    return stored.isNull() ? QDateTime()
                           : FieldValues::fromStorage(ColumnKind::DateTime, stored).toDateTime();
}

} // namespace

WebAccounts::WebAccounts(Connection& connection, PasswordHasher hasher)
    : m_connection(connection), m_hasher(hasher)
{
}

QList<WebAccount> WebAccounts::list() const
{
    const ResultSet rows = m_connection.query(QStringLiteral(
        "SELECT u.id, u.login, u.role, u.technik, "
        "(SELECT min(t.jmeno_technika) FROM cis_technici t WHERE t.cislo = u.technik), "
        "u.aktivni, u.zmenit_heslo, u.vytvoreno, u.posledni_prihlaseni FROM web_ucty u ORDER BY u.login"));
    QList<WebAccount> accounts;
    for (const auto& row : rows.rows) {
        WebAccount account;
        account.id = row[0].toLongLong();
        account.login = row[1].toString();
        account.role = row[2].toString();
        if (!row[3].isNull())
            account.technician = row[3].toInt();
        account.technicianName = row[4].toString();
        account.active = FieldValues::fromStorage(ColumnKind::YesNo, row[5]).toBool();
        account.mustChangePassword = FieldValues::fromStorage(ColumnKind::YesNo, row[6]).toBool();
        account.created = timeOf(row[7]);
        account.lastSignIn = timeOf(row[8]);
        accounts.append(account);
    }
    return accounts;
}

std::optional<WebAccount> WebAccounts::find(const QString& login) const
{
    const QString wanted = login.trimmed().toLower();
    for (const WebAccount& account : list())
        if (account.login == wanted)
            return account;
    return std::nullopt;
}

WebAccount WebAccounts::existing(const QString& login) const
{
    std::optional<WebAccount> account = find(login);
    if (!account)
        throw AccountError(QStringLiteral("Účet „%1“ neexistuje.").arg(login.trimmed()));
    return *account;
}

QString WebAccounts::add(const QString& typedLogin, const QString& role, std::optional<int> technician)
{
    const QString login = normalizedLogin(typedLogin);
    if (role != RoleTechnician && role != RoleOffice)
        throw AccountError(
            QStringLiteral("Role „%1“ neexistuje; účet je buď technik, nebo kancelar.").arg(role));
    if (role == RoleTechnician && !technician)
        throw AccountError(QStringLiteral("Účtu technika zvolte technika z číselníku."));
    if (technician &&
        m_connection.query(QStringLiteral("SELECT 1 FROM cis_technici WHERE cislo = ?"), {*technician})
            .isEmpty())
        throw AccountError(QStringLiteral("Technik číslo %1 není v číselníku techniků.").arg(*technician));
    if (find(login))
        throw AccountError(QStringLiteral("Přihlašovací jméno „%1“ už má jiný účet.").arg(login));

    const QString password = oneTimePasswordFor(login);
    const QString hash = m_hasher.hash(password);
    const QVariant number = technician ? QVariant(*technician) : QVariant();
    Transaction transaction(m_connection);
    const qint64 id = m_connection.insert(
        QStringLiteral("INSERT INTO web_ucty (login, role, technik, heslo, aktivni, zmenit_heslo, vytvoreno) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {login, role, number, hash, true, true, storedTime()});
    audit(QStringLiteral("ucet_pridan"), QVariant(), id, {},
          {{QStringLiteral("login"), login},
           {QStringLiteral("role"), role},
           {QStringLiteral("technik"), QJsonValue::fromVariant(number)},
           {QStringLiteral("aktivni"), true},
           {QStringLiteral("zmenit_heslo"), true}});
    transaction.commit();
    return password;
}

QString WebAccounts::setOneTimePassword(const QString& login)
{
    const WebAccount account = existing(login);
    const QString password = oneTimePasswordFor(account.login);
    const QString hash = m_hasher.hash(password);
    Transaction transaction(m_connection);
    m_connection.execute(QStringLiteral("UPDATE web_ucty SET heslo = ?, zmenit_heslo = ? WHERE id = ?"),
                         {hash, true, account.id});
    endSessions(account.id);
    audit(QStringLiteral("ucet_heslo"), QVariant(), account.id,
          {{QStringLiteral("zmenit_heslo"), account.mustChangePassword}},
          {{QStringLiteral("zmenit_heslo"), true}});
    transaction.commit();
    return password;
}

void WebAccounts::block(const QString& login)
{
    setActive(login, false);
}

void WebAccounts::unblock(const QString& login)
{
    setActive(login, true);
}

void WebAccounts::setActive(const QString& login, bool active)
{
    const WebAccount account = existing(login);
    Transaction transaction(m_connection);
    m_connection.execute(QStringLiteral("UPDATE web_ucty SET aktivni = ? WHERE id = ?"),
                         {active, account.id});
    if (!active)
        endSessions(account.id);
    audit(active ? QStringLiteral("ucet_odblokovan") : QStringLiteral("ucet_zablokovan"), QVariant(),
          account.id, {{QStringLiteral("aktivni"), account.active}}, {{QStringLiteral("aktivni"), active}});
    transaction.commit();
}

void WebAccounts::changePassword(const QString& login, const QString& current, const QString& newPassword,
                                 const QString& keptSession)
{
    const WebAccount account = existing(login);
    const ResultSet stored =
        m_connection.query(QStringLiteral("SELECT heslo FROM web_ucty WHERE id = ?"), {account.id});
    if (stored.isEmpty() || !m_hasher.verify(stored.rows[0][0].toString(), current))
        throw AccountError(QStringLiteral("Současné heslo není správné."));
    if (newPassword == current)
        throw AccountError(QStringLiteral("Nové heslo musí být jiné než dosavadní."));
    if (const QString problem = PasswordPolicy::problem(newPassword, account.login); !problem.isEmpty())
        throw AccountError(problem);
    const QString hash = m_hasher.hash(newPassword);
    Transaction transaction(m_connection);
    m_connection.execute(QStringLiteral("UPDATE web_ucty SET heslo = ?, zmenit_heslo = ? WHERE id = ?"),
                         {hash, false, account.id});
    endSessions(account.id, keptSession);
    audit(QStringLiteral("zmena_hesla"), account.id, account.id,
          {{QStringLiteral("zmenit_heslo"), account.mustChangePassword}},
          {{QStringLiteral("zmenit_heslo"), false}});
    transaction.commit();
}

void WebAccounts::endSessions(qint64 account, const QString& kept)
{
    if (kept.isEmpty())
        m_connection.execute(QStringLiteral("DELETE FROM web_relace WHERE ucet = ?"), {account});
    else
        m_connection.execute(QStringLiteral("DELETE FROM web_relace WHERE ucet = ? AND token_hash <> ?"),
                             {account, kept});
}

void WebAccounts::audit(const QString& event, const QVariant& actor, qint64 account,
                        const QJsonObject& before, const QJsonObject& after)
{
    WebAudit::write(m_connection,
                    {event, actor, m_address, QStringLiteral("web_ucty"), account, before, after});
}
