#pragma once

#include <QString>
#include <QStringList>

// Which directory the program works in: the one given with "--adresar <dir>" (or
// "--adresar=<dir>"), else the one in the environment variable VESTIBOR_ADRESAR, else the
// program's own directory. The installed launcher hands each user a directory of their own.
struct ProgramDirectoryChoice
{
    QString directory; // empty when the command line is wrong or asks for the help
    QString error;     // what is wrong with the command line, in Czech
    QString help;      // the help, when -h or --help asked for it
};

ProgramDirectoryChoice chooseProgramDirectory(const QStringList& arguments, const QString& environment,
                                              const QString& executableDirectory);
