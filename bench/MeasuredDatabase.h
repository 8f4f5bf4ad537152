#pragma once

#include "WorkDatabase.h"

#include <QCommandLineOption>

class CommandLine;
class QCommandLineParser;

// The measured database as the measuring tools take it on their command line: a database file
// made by vestibor_gendb, or --server with the connection string of a server database that
// vestibor_prepare made from one.
class MeasuredDatabase
{
public:
    // Adds the option --server and the argument of the file.
    explicit MeasuredDatabase(CommandLine& commandLine);

    // What is wrong with the arguments, empty when nothing is.
    QString problem(const QCommandLineParser& parser) const;
    bool onServer(const QCommandLineParser& parser) const;
    // The copy the tool works on; a file is copied into the program directory.
    std::unique_ptr<WorkDatabase> copy(const QCommandLineParser& parser,
                                       const QString& programDirectory) const;

private:
    QCommandLineOption m_server;
};
