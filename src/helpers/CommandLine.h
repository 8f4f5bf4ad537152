#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The command line of a tool, read by Qt's parser, with -h and --help. A mistake (the
// parser's own, or one the tool's check names) is written with the help to stderr and ends
// the tool with status 2; --help writes the help to stdout and ends it with 0.
class CommandLine
{
public:
    // helpDescription: what -h/--help does, in the language of the tool's help.
    CommandLine(const QString& description, const QString& helpDescription);

    // Adds an option that takes a value; the option asks the parser for it.
    QCommandLineOption addOption(const QString& name, const QString& description, const QString& valueName);
    void addArgument(const QString& name, const QString& description, const QString& syntax = QString())
    {
        m_parser.addPositionalArgument(name, description, syntax);
    }

    QCommandLineParser& parser() { return m_parser; }
    const QCommandLineParser& parser() const { return m_parser; }

    // The tool's own check of what was read: the mistake, or an empty text.
    using Check = std::function<QString(const QCommandLineParser&)>;
    // Empty when the tool goes on; else the status it ends with, the text written.
    std::optional<int> read(const QStringList& arguments, const Check& check = {});

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
};
