// The technicians' web accounts: password hashes and rules, one-time passwords, and the
// accounts themselves on both engines, with their sessions and audit rows.
#include "accounts/AccountError.h"
#include "accounts/OneTimePassword.h"
#include "accounts/PasswordHasher.h"
#include "accounts/PasswordPolicy.h"
#include "accounts/WebAccounts.h"
#include "store/Connection.h"
#include "support/OpenContext.h"
#include "support/TestMain.h"

#include <QRegularExpression>
#include <QTest>

namespace {

QString refusal(const std::function<void()>& work)
{
    try {
        work();
    } catch (const AccountError& e) {
        return e.text();
    }
    return QStringLiteral("(nothing refused)");
}

} // namespace

class TestAccounts : public QObject
{
    Q_OBJECT

    std::unique_ptr<OpenContext> m_f;
    Connection* m_db = nullptr;

    QStringList column(const QString& sql) const
    {
        QStringList out;
        for (const auto& row : m_db->query(sql).rows)
            out << row[0].toString();
        return out;
    }
    QString storedHash(const QString& login) const
    {
        return m_db->query(QStringLiteral("SELECT heslo FROM web_ucty WHERE login = ?"), {login})
            .rows.value(0)
            .value(0)
            .toString();
    }
    void addSession(const QString& hash, qint64 account)
    {
        m_db->execute(QStringLiteral("INSERT INTO web_relace (token_hash, ucet, vytvoreno, naposledy, "
                                     "platnost_do) VALUES (?, ?, '2026-01-01 08:00:00', "
                                     "'2026-01-01 08:00:00', '2026-01-01 20:00:00')"),
                      {hash, account});
    }

private slots:
    void init()
    {
        m_f = std::make_unique<OpenContext>();
        m_db = &m_f->context.connection;
        m_db->execute(
            QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (7, 'Jiří Kos'), "
                           "(8, 'Petr Malý')"));
    }
    void cleanup() { m_f.reset(); }

    void hashesAreArgon2idStringsThatVerifyAndAgeWithTheirParameters()
    {
        const PasswordHasher hasher;
        const QString hash = hasher.hash(QStringLiteral("Zelený kotel 7"));
        QVERIFY2(hash.startsWith(QStringLiteral("$argon2id$v=19$m=65536,t=3,")), qPrintable(hash));
        QVERIFY(hash != hasher.hash(QStringLiteral("Zelený kotel 7"))); // a salt of its own
        QVERIFY(hasher.verify(hash, QStringLiteral("Zelený kotel 7")));
        QVERIFY(!hasher.verify(hash, QStringLiteral("zelený kotel 7")));
        QVERIFY(!hasher.verify(QStringLiteral("neni to otisk"), QStringLiteral("Zelený kotel 7")));
        QVERIFY(!hasher.verify(QString(), QString()));
        QVERIFY(!hasher.needsRehash(hash));
        // Stronger parameters later: the old hash still verifies and asks to be made anew.
        const PasswordHasher stronger(4, PasswordHasher::DefaultMemory);
        QVERIFY(stronger.needsRehash(hash));
        QVERIFY(stronger.verify(hash, QStringLiteral("Zelený kotel 7")));
        QVERIFY(!stronger.needsRehash(stronger.hash(QStringLiteral("Zelený kotel 7"))));
    }

    void thePolicyRefusesShortCommonAndLoginPasswords_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("problem");
        const QString tooShort = QStringLiteral("Heslo musí mít alespoň 10 znaků.");
        const QString common =
            QStringLiteral("Toto heslo patří mezi běžně používaná a snadno se uhodne; zvolte jiné.");
        const QString login = QStringLiteral("Heslo nesmí obsahovat přihlašovací jméno.");
        QTest::newRow("nine characters") << "kotel-123" << tooShort;
        QTest::newRow("nine letters, more bytes") << "žluťoučký" << tooShort;
        QTest::newRow("ten with diacritics") << "žluťoučký1" << QString();
        QTest::newRow("heslo12345") << "heslo12345" << common;
        QTest::newRow("in another case") << "HeSlO12345" << common;
        QTest::newRow("digits in a row") << "1234567890" << common;
        QTest::newRow("keyboard row") << "qwertzuiop" << common;
        QTest::newRow("the program's name") << "Vestibor123" << common;
        QTest::newRow("the login in it") << "novak-v-kotelne" << login;
        QTest::newRow("the login in capitals") << "NOVAK-2024-zima" << login;
        QTest::newRow("fine") << "Zelený kotel 7" << QString();
    }
    void thePolicyRefusesShortCommonAndLoginPasswords()
    {
        QFETCH(QString, password);
        QFETCH(QString, problem);
        QCOMPARE(PasswordPolicy::problem(password, QStringLiteral("novak")), problem);
    }

    void oneTimePasswordsAreUnambiguousAndPassThePolicy()
    {
        QSet<QString> seen;
        for (int i = 0; i < 200; ++i) {
            const QString password = OneTimePassword::make();
            QVERIFY2(
                QRegularExpression(QStringLiteral("^[a-km-zA-HJ-NP-Z2-9]{12}$")).match(password).hasMatch(),
                qPrintable(password));
            QVERIFY(!password.contains(u'i') && !password.contains(u'o'));
            seen.insert(password);
        }
        QCOMPARE(seen.size(), 200);
    }

    void accountsAreAddedWithAOneTimePasswordAndRefusedWithReasons()
    {
        WebAccounts accounts(*m_db);
        const QString password = accounts.add(QStringLiteral("  Jiri.Kos "), WebAccounts::RoleTechnician, 7);
        QCOMPARE(password.size(), OneTimePassword::Length);
        QCOMPARE(PasswordPolicy::problem(password, QStringLiteral("jiri.kos")), QString());
        accounts.add(QStringLiteral("kancelar"), WebAccounts::RoleOffice, std::nullopt);

        const QList<WebAccount> all = accounts.list();
        QCOMPARE(all.size(), 2);
        const WebAccount& jiri = all[0];
        QCOMPARE(jiri.login, QStringLiteral("jiri.kos"));
        QCOMPARE(jiri.role, QStringLiteral("technik"));
        QCOMPARE(jiri.technician, std::optional<int>(7));
        QCOMPARE(jiri.technicianName, QStringLiteral("Jiří Kos"));
        QVERIFY(jiri.active && jiri.mustChangePassword);
        QVERIFY(qAbs(jiri.created.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        QVERIFY(!jiri.lastSignIn.isValid());
        QCOMPARE(all[1].technician, std::nullopt);
        QCOMPARE(all[1].technicianName, QString());
        // Only the hash is kept, and it is the one-time password's.
        QVERIFY(PasswordHasher().verify(storedHash(QStringLiteral("jiri.kos")), password));

        const auto add = [&](const QString& login, const QString& role, std::optional<int> technician) {
            return refusal([&] { accounts.add(login, role, technician); });
        };
        QCOMPARE(add(QStringLiteral("JIRI.KOS"), WebAccounts::RoleTechnician, 8),
                 QStringLiteral("Přihlašovací jméno „jiri.kos“ už má jiný účet."));
        QCOMPARE(add(QStringLiteral("petr"), WebAccounts::RoleTechnician, 9),
                 QStringLiteral("Technik číslo 9 není v číselníku techniků."));
        QCOMPARE(add(QStringLiteral("petr"), WebAccounts::RoleTechnician, std::nullopt),
                 QStringLiteral("Účtu technika zvolte technika z číselníku."));
        QCOMPARE(add(QStringLiteral("petr"), QStringLiteral("spravce"), 8),
                 QStringLiteral("Role „spravce“ neexistuje; účet je buď technik, nebo kancelar."));
        QCOMPARE(add(QStringLiteral("   "), WebAccounts::RoleTechnician, 8),
                 QStringLiteral("Zadejte přihlašovací jméno."));
        QCOMPARE(add(QStringLiteral("petr malý"), WebAccounts::RoleTechnician, 8),
                 QStringLiteral("Přihlašovací jméno smí obsahovat jen písmena bez diakritiky, číslice, "
                                "tečku, pomlčku a podtržítko."));
        QCOMPARE(add(QString(51, u'p'), WebAccounts::RoleTechnician, 8),
                 QStringLiteral("Přihlašovací jméno smí mít nejvýše 50 znaků."));
        QCOMPARE(accounts.list().size(), 2);
        QCOMPARE(refusal([&] { accounts.block(QStringLiteral("nikdo")); }),
                 QStringLiteral("Účet „nikdo“ neexistuje."));
    }

    void blockingAndANewPasswordEndTheSessionsAndAreAudited()
    {
        WebAccounts accounts(*m_db);
        const QString first = accounts.add(QStringLiteral("jiri"), WebAccounts::RoleTechnician, 7);
        accounts.add(QStringLiteral("petr"), WebAccounts::RoleTechnician, 8);
        const qint64 jiri = accounts.find(QStringLiteral("jiri"))->id;
        const qint64 petr = accounts.find(QStringLiteral("petr"))->id;
        addSession(QStringLiteral("a1"), jiri);
        addSession(QStringLiteral("a2"), jiri);
        addSession(QStringLiteral("b1"), petr);
        const QString sessions = QStringLiteral("SELECT token_hash FROM web_relace ORDER BY token_hash");

        accounts.block(QStringLiteral("Jiri"));
        QVERIFY(!accounts.find(QStringLiteral("jiri"))->active);
        QCOMPARE(column(sessions), QStringList{"b1"});
        accounts.unblock(QStringLiteral("jiri"));
        QVERIFY(accounts.find(QStringLiteral("jiri"))->active);

        addSession(QStringLiteral("a3"), jiri);
        accounts.setOneTimePassword(QStringLiteral("petr")); // not his: Jiří's session stays
        QCOMPARE(column(sessions), QStringList{"a3"});
        const QString second = accounts.setOneTimePassword(QStringLiteral("jiri"));
        QCOMPARE(column(sessions), QStringList());
        QVERIFY(second != first);
        QVERIFY(PasswordHasher().verify(storedHash(QStringLiteral("jiri")), second));
        QVERIFY(!PasswordHasher().verify(storedHash(QStringLiteral("jiri")), first));
        QVERIFY(accounts.find(QStringLiteral("jiri"))->mustChangePassword);

        QCOMPARE(
            column(QStringLiteral("SELECT udalost || ' ' || id_radku || ' ' || coalesce(pred, '-') || ' ' "
                                  "|| po FROM web_audit ORDER BY id")),
            (QStringList{
                QStringLiteral("ucet_pridan %1 - "
                               "{\"aktivni\":true,\"login\":\"jiri\",\"role\":\"technik\","
                               "\"technik\":7,\"zmenit_heslo\":true}")
                    .arg(jiri),
                QStringLiteral("ucet_pridan %1 - "
                               "{\"aktivni\":true,\"login\":\"petr\",\"role\":\"technik\","
                               "\"technik\":8,\"zmenit_heslo\":true}")
                    .arg(petr),
                QStringLiteral("ucet_zablokovan %1 {\"aktivni\":true} {\"aktivni\":false}").arg(jiri),
                QStringLiteral("ucet_odblokovan %1 {\"aktivni\":false} {\"aktivni\":true}").arg(jiri),
                QStringLiteral("ucet_heslo %1 {\"zmenit_heslo\":true} {\"zmenit_heslo\":true}").arg(petr),
                QStringLiteral("ucet_heslo %1 {\"zmenit_heslo\":true} {\"zmenit_heslo\":true}").arg(jiri)}));
        QCOMPARE(
            column(QStringLiteral("SELECT count(*) FROM web_audit WHERE tabulka = 'web_ucty' AND cas IS NOT "
                                  "NULL AND ucet IS NULL AND adresa IS NULL")),
            QStringList{"6"});
    }

    void theTechnicianChangesHisPasswordKeepingHisOwnSession()
    {
        WebAccounts accounts(*m_db);
        const QString oneTime = accounts.add(QStringLiteral("jiri"), WebAccounts::RoleTechnician, 7);
        const qint64 jiri = accounts.find(QStringLiteral("jiri"))->id;
        addSession(QStringLiteral("phone"), jiri);
        addSession(QStringLiteral("tablet"), jiri);
        accounts.setClientAddress(QStringLiteral("192.0.2.10"));
        const auto change = [&](const QString& current, const QString& next) {
            return refusal([&] { accounts.changePassword(QStringLiteral("jiri"), current, next, "phone"); });
        };
        QCOMPARE(change(QStringLiteral("spatne-heslo"), QStringLiteral("Zelený kotel 7")),
                 QStringLiteral("Současné heslo není správné."));
        QCOMPARE(change(oneTime, oneTime), QStringLiteral("Nové heslo musí být jiné než dosavadní."));
        QCOMPARE(change(oneTime, QStringLiteral("heslo12345")),
                 QStringLiteral("Toto heslo patří mezi běžně používaná a snadno se uhodne; zvolte jiné."));
        QVERIFY(accounts.find(QStringLiteral("jiri"))->mustChangePassword);

        QCOMPARE(change(oneTime, QStringLiteral("Zelený kotel 7")), QStringLiteral("(nothing refused)"));
        QVERIFY(!accounts.find(QStringLiteral("jiri"))->mustChangePassword);
        QVERIFY(
            PasswordHasher().verify(storedHash(QStringLiteral("jiri")), QStringLiteral("Zelený kotel 7")));
        QCOMPARE(column(QStringLiteral("SELECT token_hash FROM web_relace")), QStringList{"phone"});
        QCOMPARE(
            column(QStringLiteral("SELECT ucet || ' ' || adresa || ' ' || po FROM web_audit WHERE udalost = "
                                  "'zmena_hesla'")),
            QStringList{QStringLiteral("%1 192.0.2.10 {\"zmenit_heslo\":false}").arg(jiri)});
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestAccounts)
#include "tst_accounts.moc"
