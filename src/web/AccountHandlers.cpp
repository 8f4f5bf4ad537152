#include "web/AccountHandlers.h"

#include "accounts/AccountError.h"
#include "accounts/PasswordHasher.h"
#include "accounts/WebAccounts.h"
#include "store/Connection.h"
#include "web/ApiError.h"
#include "web/Input.h"
#include "web/Sessions.h"
#include "web/StoredTime.h"
#include "web/WriteScope.h"

namespace AccountHandlers {

namespace {

const QString wrongSignIn = QStringLiteral("Nesprávné přihlašovací jméno nebo heslo.");

QString stringField(const QJsonObject& body, const QString& key, int longest)
{
    const QJsonValue v = body.value(key);
    if (!v.isString() || v.toString().isEmpty())
        Input::refuse(key, QStringLiteral("Vyplňte pole „%1“.").arg(Input::caption(key)));
    if (v.toString().size() > longest)
        Input::refuse(
            key, QStringLiteral("Pole „%1“ smí mít nejvýše %2 znaků.").arg(Input::caption(key)).arg(longest));
    return v.toString();
}

QJsonObject accountJson(Connection& connection, qint64 id)
{
    const ResultSet r = connection.query(
        QStringLiteral(
            "SELECT u.login, u.role, u.technik, t.jmeno_technika, u.zmenit_heslo FROM web_ucty u LEFT JOIN "
            "cis_technici t ON t.cislo = u.technik WHERE u.id = ?"),
        {id});
    if (r.isEmpty())
        return {};
    const QList<QVariant>& row = r.rows.first();
    QJsonObject account{
        {QStringLiteral("login"), row[0].toString()},
        {QStringLiteral("role"), row[1].toString()},
        {QStringLiteral("zmenit_heslo"), FieldValues::fromStorage(ColumnKind::YesNo, row[4]).toBool()}};
    account.insert(QStringLiteral("technik"),
                   row[2].isNull() ? QJsonValue()
                                   : QJsonObject{{QStringLiteral("cislo"), row[2].toLongLong()},
                                                 {QStringLiteral("jmeno"), row[3].toString()}});
    return account;
}

QString waitText(qint64 seconds)
{
    const qint64 minutes = (seconds + 59) / 60;
    return QStringLiteral("Příliš mnoho neúspěšných pokusů o přihlášení. Zkuste to znovu za %1 min.")
        .arg(minutes);
}

// The account under the login and whether the password is its own. An unknown login costs
// the same time as a known one.
struct Checked
{
    qint64 id = 0;
    QString hash;
    bool passed = false;
};

Checked check(Connection& connection, const QString& login, const QString& password)
{
    const ResultSet r =
        connection.query(QStringLiteral("SELECT id, heslo, aktivni FROM web_ucty WHERE login = ?"), {login});
    if (r.isEmpty()) {
        static const QString decoy = PasswordHasher().hash(QStringLiteral("decoy-password-never-used"));
        PasswordHasher().verify(decoy, password);
        return {};
    }
    const QList<QVariant>& row = r.rows.first();
    Checked c{row[0].toLongLong(), row[1].toString(), false};
    c.passed = PasswordHasher().verify(c.hash, password) &&
               FieldValues::fromStorage(ColumnKind::YesNo, row[2]).toBool();
    return c;
}

} // namespace

void signIn(RequestContext& context)
{
    const QString login = stringField(context.body, QStringLiteral("login"), 50).trimmed().toLower();
    const QString password = stringField(context.body, QStringLiteral("heslo"), 1024);
    SignInThrottle& throttle = context.services.throttle;
    const QString accountKey = QStringLiteral("ucet:") + login;
    const QString addressKey = QStringLiteral("adresa:") + context.address;
    const qint64 wait = std::max(throttle.secondsToWait(accountKey, context.now),
                                 throttle.secondsToWait(addressKey, context.now));
    if (wait > 0)
        throw ApiError(429, waitText(wait));

    Connection& c = context.db();
    const Checked checked = check(c, login, password);
    context.accountForLog = checked.id;
    WriteScope scope(context);
    if (!checked.passed) {
        const bool accountWaits = throttle.failed(accountKey, context.now);
        const bool addressWaits = throttle.failed(addressKey, context.now);
        context.audit(QStringLiteral("neuspesne_prihlaseni"), checked.id);
        if (accountWaits || addressWaits)
            context.audit(QStringLiteral("zablokovano_pokusy"), checked.id);
        scope.commit();
        throw ApiError(401, wrongSignIn);
    }
    throttle.succeeded(accountKey);
    throttle.succeeded(addressKey);
    const QString token = Sessions::start(c, checked.id, context.now);
    c.execute(QStringLiteral("UPDATE web_ucty SET posledni_prihlaseni = ? WHERE id = ?"),
              {StoredTime::text(context.now), checked.id});
    if (PasswordHasher().needsRehash(checked.hash))
        c.execute(QStringLiteral("UPDATE web_ucty SET heslo = ? WHERE id = ?"),
                  {PasswordHasher().hash(password), checked.id});
    context.audit(QStringLiteral("prihlaseni"), checked.id);
    scope.commit();
    context.setCookie = Sessions::cookie(token);
    context.reply.insert(QStringLiteral("ucet"), accountJson(c, checked.id));
}

void signOut(RequestContext& context)
{
    WriteScope scope(context);
    Sessions::end(context.db(), context.sessionHash);
    context.audit(QStringLiteral("odhlaseni"));
    scope.commit();
    context.setCookie = Sessions::clearedCookie();
}

void changePassword(RequestContext& context)
{
    const QString current = stringField(context.body, QStringLiteral("heslo"), 1024);
    const QString next = stringField(context.body, QStringLiteral("nove_heslo"), 1024);
    const SignedInAccount& account = context.signedIn();
    Connection& c = context.db();
    WebAccounts accounts(c);
    accounts.setClientAddress(context.address);
    try {
        // The other sessions of the account end; this one goes on.
        const auto turn = context.services.database.writeTurn();
        accounts.changePassword(account.login, current, next, context.sessionHash);
    } catch (const AccountError& e) {
        const bool wrongCurrent = e.text() == QStringLiteral("Současné heslo není správné.");
        Input::refuse(wrongCurrent ? QStringLiteral("heslo") : QStringLiteral("nove_heslo"), e.text());
    }
    context.reply.insert(QStringLiteral("ucet"), accountJson(c, account.id));
}

void get(RequestContext& context)
{
    context.reply.insert(QStringLiteral("ucet"), accountJson(context.db(), context.signedIn().id));
}

} // namespace AccountHandlers
