#include "app/ProgramDirectory.h"

namespace {
const QString option = QStringLiteral("--adresar");
}

ProgramDirectoryChoice chooseProgramDirectory(const QStringList& arguments, const QString& environment,
                                              const QString& executableDirectory)
{
    QString given;
    // The first argument is the program itself.
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == option) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                return {QString(), QStringLiteral("Za volbou %1 chybí adresář.").arg(option)};
            given = arguments[++i];
        } else if (argument.startsWith(option + u'=')) {
            given = argument.mid(option.size() + 1);
            if (given.isEmpty())
                return {QString(), QStringLiteral("Za volbou %1 chybí adresář.").arg(option)};
        } else {
            return {QString(), QStringLiteral("Neznámá volba „%1“.").arg(argument)};
        }
    }
    if (!given.isEmpty())
        return {given, QString()};
    if (!environment.isEmpty())
        return {environment, QString()};
    return {executableDirectory, QString()};
}
