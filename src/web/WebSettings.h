#pragma once

#include <QString>

class IniFile;

// Section web of the settings file: where the server listens and with which certificate.
// Without a certificate it serves plain HTTP, and then only on an address of this computer
// (behind a reverse proxy that speaks TLS to the phones).
struct WebSettings
{
    static constexpr int DefaultPort = 8443;

    QString Adresa = QStringLiteral("127.0.0.1");
    int Port = DefaultPort;
    QString Certifikat; // PEM files; relative paths are taken from the program directory
    QString Klic;
    // For trying a new version of the app out: the folder whose files are served instead of
    // the compiled-in ones; relative to the program directory.
    QString Aplikace;

    static WebSettings read(const IniFile& file, const QString& programDirectory);

    bool tls() const { return !Certifikat.isEmpty(); }
    // Why the server cannot start with these settings, in Czech; empty when it can.
    QString problem() const;
    static bool isLoopback(const QString& address);
};
