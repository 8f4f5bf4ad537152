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

    static WebSettings read(const IniFile& file, const QString& programDirectory);

    bool tls() const { return !Certifikat.isEmpty(); }
    // Why the server cannot start with these settings, in Czech; empty when it can.
    QString problem() const;
    static bool isLoopback(const QString& address);
};
