#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class Connection;

// What the web app is given to run: how to open a connection to the database (one for each
// thread that serves), whether it is served over TLS, the settings file and the clock.
struct WebOptions
{
    std::function<void(Connection&)> openDatabase;
    bool tls = true;
    QString settingsFile; // for the plan's DnyPredem
    QString shellFolder;  // the app shell's files from this folder instead of the compiled-in ones
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTimeUtc(); };
};
