#include "helpers/ProgramDirectory.h"

#include <QCommandLineParser>

namespace {

// The argument as the user wrote it that the parser did not know as one of its options.
QString unknownArgument(const QStringList& arguments, const QString& name)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u'-' + name || argument == QStringLiteral("--") + name ||
            argument.startsWith(QStringLiteral("--") + name + u'='))
            return argument;
    }
    return QStringLiteral("--") + name;
}

} // namespace

ProgramDirectoryChoice chooseProgramDirectory(const QStringList& arguments, const QString& environment,
                                              const QString& executableDirectory)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Vestibor pracuje v adresáři programu: v adresáři z volby --adresar, jinak v adresáři z "
        "proměnné prostředí VESTIBOR_ADRESAR, jinak v adresáři, ve kterém je program."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Vypíše tuto nápovědu."));
    const QCommandLineOption directory(QStringLiteral("adresar"),
                                       QStringLiteral("Adresář programu; má přednost před VESTIBOR_ADRESAR."),
                                       QStringLiteral("adresář programu"));
    parser.addOptions({help, directory});
    const QString missingDirectory = QStringLiteral("Za volbou --adresar chybí adresář.");
    const auto wrong = [](const QString& error) {
        return ProgramDirectoryChoice{QString(), error, QString()};
    };

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return wrong(missingDirectory); // the only option with a value lacks it
        return wrong(QStringLiteral("Neznámá volba „%1“.").arg(unknownArgument(arguments, unknown.first())));
    }
    if (!parser.positionalArguments().isEmpty())
        return wrong(QStringLiteral("Neznámá volba „%1“.").arg(parser.positionalArguments().first()));
    if (parser.isSet(help))
        return {QString(), QString(), parser.helpText()};
    if (parser.isSet(directory)) {
        const QString given = parser.value(directory);
        if (given.isEmpty())
            return wrong(missingDirectory);
        return {given, QString(), QString()};
    }
    if (!environment.isEmpty())
        return {environment, QString(), QString()};
    return {executableDirectory, QString(), QString()};
}
