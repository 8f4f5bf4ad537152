#include "web/WebSettings.h"

#include "helpers/IniFile.h"

#include <QDir>
#include <QFileInfo>

#include <arpa/inet.h>

namespace {

const QString section = QStringLiteral("web");

QString fromProgramDirectory(const QString& path, const QString& programDirectory)
{
    return path.isEmpty() ? path : QDir(programDirectory).absoluteFilePath(path);
}

} // namespace

WebSettings WebSettings::read(const IniFile& file, const QString& programDirectory)
{
    WebSettings s;
    const QString address = file.readString(section, QStringLiteral("Adresa")).trimmed();
    if (!address.isEmpty())
        s.Adresa = address;
    const int port = file.readInteger(section, QStringLiteral("Port"), DefaultPort);
    s.Port = port > 0 && port < 65536 ? port : DefaultPort;
    s.Certifikat = fromProgramDirectory(file.readString(section, QStringLiteral("Certifikat")).trimmed(),
                                        programDirectory);
    s.Klic =
        fromProgramDirectory(file.readString(section, QStringLiteral("Klic")).trimmed(), programDirectory);
    s.Aplikace = fromProgramDirectory(file.readString(section, QStringLiteral("Aplikace")).trimmed(),
                                      programDirectory);
    return s;
}

bool WebSettings::isLoopback(const QString& address)
{
    const QByteArray a = address.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, a.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (inet_pton(AF_INET6, a.constData(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6);
    return address.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0;
}

QString WebSettings::problem() const
{
    if (Certifikat.isEmpty() != Klic.isEmpty())
        return QStringLiteral(
            "V oddílu [web] nastavení musí být zadány oba klíče Certifikat a Klic, nebo ani "
            "jeden.");
    if (!tls() && !isLoopback(Adresa))
        return QStringLiteral("Bez certifikátu (klíče Certifikat a Klic v oddílu [web] nastavení) smí server "
                              "naslouchat jen na adrese tohoto počítače, například 127.0.0.1; adresa „%1“ "
                              "vyžaduje certifikát.")
            .arg(Adresa);
    if (!Aplikace.isEmpty() && !QFileInfo(Aplikace).isDir())
        return QStringLiteral("Složka aplikace „%1“ (klíč Aplikace v oddílu [web] nastavení) neexistuje.")
            .arg(Aplikace);
    return QString();
}
