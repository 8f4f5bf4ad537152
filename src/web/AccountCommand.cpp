#include "web/AccountCommand.h"

#include "accounts/WebAccounts.h"
#include "helpers/AppError.h"
#include "store/Connection.h"
#include "web/DatabaseOpening.h"

#include <QTextStream>

#include <cstdio>

namespace AccountCommand {

namespace {

const QString usage =
    QStringLiteral("Příkazy: ucet seznam | ucet pridat <login> <číslo technika> <technik|kancelar> | "
                   "ucet heslo <login> | ucet zablokovat <login> | ucet odblokovat <login>");

QString timeText(const QDateTime& utc)
{
    return utc.isValid() ? utc.toLocalTime().toString(QStringLiteral("d.M.yyyy H:mm")) : QStringLiteral("-");
}

void list(WebAccounts& accounts, QTextStream& out)
{
    const QList<WebAccount> all = accounts.list();
    if (all.isEmpty()) {
        out << "Žádné účty.\n";
        return;
    }
    for (const WebAccount& a : all) {
        const QString technician = a.technician
                                       ? QStringLiteral("%1 %2").arg(*a.technician).arg(a.technicianName)
                                       : QStringLiteral("-");
        out << a.login << '\t' << a.role << '\t' << technician << '\t'
            << (a.active ? QStringLiteral("aktivní") : QStringLiteral("zablokovaný")) << '\t'
            << (a.mustChangePassword ? QStringLiteral("jednorázové heslo") : QStringLiteral("vlastní heslo"))
            << '\t' << QStringLiteral("přihlášen: ") << timeText(a.lastSignIn) << '\n';
    }
}

} // namespace

int run(Connection& connection, const QStringList& words, QTextStream& out, QTextStream& err)
{
    const QString command = words.value(0);
    const auto wrong = [&] {
        err << "Nesprávný příkaz „" << words.join(u' ') << "“.\n" << usage << '\n';
        return 2;
    };
    const int expected = command == u"pridat" ? 4 : command == u"seznam" ? 1 : 2;
    if (words.size() != expected ||
        !QStringList{QStringLiteral("seznam"), QStringLiteral("pridat"), QStringLiteral("heslo"),
                     QStringLiteral("zablokovat"), QStringLiteral("odblokovat")}
             .contains(command))
        return wrong();
    WebAccounts accounts(connection);
    const QString login = words.value(1);
    try {
        if (command == u"seznam") {
            list(accounts, out);
        } else if (command == u"pridat") {
            bool isNumber = false;
            const int technician = words[2].toInt(&isNumber);
            if (!isNumber || technician <= 0) {
                err << "Číslo technika „" << words[2] << "“ není kladné celé číslo.\n";
                return 2;
            }
            const QString password = accounts.add(login, words[3], technician);
            out << "Účet „" << login.toLower() << "“ je založen. Jednorázové heslo: " << password << '\n'
                << "Při prvním přihlášení si ho technik změní.\n";
        } else if (command == u"heslo") {
            const QString password = accounts.setOneTimePassword(login);
            out << "Nové jednorázové heslo účtu „" << login << "“: " << password << '\n'
                << "Dosavadní přihlášení účtu jsou ukončena.\n";
        } else if (command == u"zablokovat") {
            accounts.block(login);
            out << "Účet „" << login << "“ je zablokován a jeho přihlášení ukončena.\n";
        } else {
            accounts.unblock(login);
            out << "Účet „" << login << "“ je odblokován.\n";
        }
    } catch (const AppError& e) {
        err << e.text() << '\n';
        return 1;
    }
    return 0;
}

int run(const QString& programDirectory, const QStringList& words)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString problem = DatabaseOpening::problem(programDirectory);
    if (!problem.isEmpty()) {
        err << problem << '\n';
        return 1;
    }
    Connection connection(QStringLiteral("vestibor-web-ucet"));
    try {
        DatabaseOpening::opener(programDirectory)(connection);
    } catch (const AppError& e) {
        err << e.text() << '\n';
        return 1;
    }
    return run(connection, words, out, err);
}

} // namespace AccountCommand
