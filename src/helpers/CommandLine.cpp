#include "helpers/CommandLine.h"

#include <QFileInfo>
#include <cstdio>

CommandLine::CommandLine(const QString& description, const QString& helpDescription)
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, helpDescription)
{
    m_parser.setApplicationDescription(description);
    m_parser.addOption(m_help);
}

QCommandLineOption CommandLine::addOption(const QString& name, const QString& description,
                                          const QString& valueName)
{
    const QCommandLineOption option(name, description, valueName);
    m_parser.addOption(option);
    return option;
}

std::optional<int> CommandLine::read(const QStringList& arguments, const Check& check)
{
    const bool parsed = m_parser.parse(arguments);
    if (parsed && m_parser.isSet(m_help)) {
        std::fputs(qUtf8Printable(m_parser.helpText()), stdout);
        return 0;
    }
    const QString mistake = !parsed ? m_parser.errorText() : check ? check(m_parser) : QString();
    if (mistake.isEmpty())
        return std::nullopt;
    std::fprintf(stderr, "%s: %s\n\n%s", qUtf8Printable(QFileInfo(arguments.value(0)).fileName()),
                 qUtf8Printable(mistake), qUtf8Printable(m_parser.helpText()));
    return 2;
}
