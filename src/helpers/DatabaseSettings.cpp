#include "helpers/DatabaseSettings.h"

#include "helpers/IniFile.h"

#include <QStringList>

namespace {

const QString section = QStringLiteral("databaze");

// A value of a connection string, quoted so that spaces, quotes and backslashes stay.
QString quoted(const QString& value)
{
    QString out = value;
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + out + u'\'';
}

} // namespace

DatabaseSettings DatabaseSettings::read(const IniFile& file)
{
    DatabaseSettings s;
    s.server = file.readString(section, QStringLiteral("Typ"), QStringLiteral("soubor"))
                   .trimmed()
                   .compare(QStringLiteral("server"), Qt::CaseInsensitive) == 0;
    s.Server = file.readString(section, QStringLiteral("Server")).trimmed();
    const int port = file.readInteger(section, QStringLiteral("Port"), 5432);
    s.Port = port > 0 && port < 65536 ? port : 5432;
    s.Databaze = file.readString(section, QStringLiteral("Databaze")).trimmed();
    s.Uzivatel = file.readString(section, QStringLiteral("Uzivatel")).trimmed();
    const int backups = file.readInteger(section, QStringLiteral("PocetZaloh"), DefaultPocetZaloh);
    s.PocetZaloh = backups >= 0 && backups <= 1000 ? backups : DefaultPocetZaloh;
    return s;
}

QString DatabaseSettings::connectionString(const QString& password) const
{
    QStringList parts;
    if (!Server.isEmpty())
        parts << QStringLiteral("host=") + quoted(Server);
    parts << QStringLiteral("port=%1").arg(Port);
    if (!Databaze.isEmpty())
        parts << QStringLiteral("dbname=") + quoted(Databaze);
    if (!Uzivatel.isEmpty())
        parts << QStringLiteral("user=") + quoted(Uzivatel);
    if (!password.isEmpty())
        parts << QStringLiteral("password=") + quoted(password);
    parts << QStringLiteral("connect_timeout=10");
    return parts.join(u' ');
}

QString DatabaseSettings::shownName() const
{
    return QStringLiteral("%1:%2/%3")
        .arg(Server.isEmpty() ? QStringLiteral("localhost") : Server)
        .arg(Port)
        .arg(Databaze);
}
