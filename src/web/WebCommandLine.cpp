#include "web/WebCommandLine.h"

#include "helpers/ProgramDirectory.h"

WebCommandLine WebCommandLine::parse(const QStringList& arguments, const QString& environment,
                                     const QString& executableDirectory)
{
    WebCommandLine line;
    QStringList options = arguments.mid(0, 1);
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == u"-h" || a == u"--help") {
            line.help = true;
            return line;
        }
        if (a == u"ucet") {
            line.accountCommand = arguments.mid(i + 1);
            if (line.accountCommand.isEmpty())
                line.error =
                    QStringLiteral("Za slovem „ucet“ chybí příkaz (seznam, pridat, heslo, zablokovat, "
                                   "odblokovat).");
            break;
        }
        options << a;
    }
    const ProgramDirectoryChoice choice = chooseProgramDirectory(options, environment, executableDirectory);
    if (!choice.error.isEmpty())
        line.error = choice.error;
    line.directory = choice.directory;
    return line;
}

QString WebCommandLine::helpText()
{
    return QStringLiteral(
        "Použití: vestibor-web [--adresar <adresář programu>] [ucet <příkaz>]\n"
        "\n"
        "Bez příkazu spustí webový server pro techniky na databázi z nastavení programu Vestibor\n"
        "(oddíl [databaze]); adresu, port, certifikát a klíč bere z oddílu [web].\n"
        "\n"
        "Adresář programu: z volby --adresar, jinak z proměnné prostředí VESTIBOR_ADRESAR,\n"
        "jinak adresář, ve kterém je program.\n"
        "\n"
        "Účty techniků:\n"
        "  ucet seznam                                       vypíše účty\n"
        "  ucet pridat <login> <číslo technika> <technik|kancelar>\n"
        "                                                    založí účet a vypíše jednorázové heslo\n"
        "  ucet heslo <login>                                nastaví nové jednorázové heslo\n"
        "  ucet zablokovat <login>                           zablokuje účet a ukončí jeho přihlášení\n"
        "  ucet odblokovat <login>                           odblokuje účet\n"
        "\n"
        "  -h, --help                                        vypíše tuto nápovědu\n");
}
