#pragma once

#include <QString>
#include <QStringList>

// The command line of vestibor-web: the program directory as the desktop program takes it
// (--adresar, VESTIBOR_ADRESAR), then nothing (serve) or an account command
// ("ucet seznam", "ucet pridat <login> <cislo-technika> <technik|kancelar>", ...).
struct WebCommandLine
{
    QString directory;
    QStringList accountCommand; // the words after "ucet"; empty: serve
    QString error;              // Czech, when the command line is wrong
    bool help = false;

    static WebCommandLine parse(const QStringList& arguments, const QString& environment,
                                const QString& executableDirectory);
    static QString helpText();
};
