#include "web/DatabaseOpening.h"

#include "helpers/AppError.h"
#include "helpers/DatabaseSettings.h"
#include "helpers/IniFile.h"
#include "store/Connection.h"

#include <QDir>
#include <QFileInfo>

namespace DatabaseOpening {

std::function<void(Connection&)> opener(const QString& programDirectory)
{
    const QDir dir(programDirectory);
    const DatabaseSettings settings =
        DatabaseSettings::read(IniFile(dir.filePath(QStringLiteral("Vestibor.ini"))));
    const QString file = dir.filePath(QStringLiteral("Vestibor.mdb"));
    return [settings, file](Connection& connection) {
        if (settings.server)
            connection.openServer(settings.connectionString());
        else
            connection.open(file);
    };
}

QString problem(const QString& programDirectory)
{
    const QDir dir(programDirectory);
    const DatabaseSettings settings =
        DatabaseSettings::read(IniFile(dir.filePath(QStringLiteral("Vestibor.ini"))));
    const QString file = dir.filePath(QStringLiteral("Vestibor.mdb"));
    if (!settings.server && !QFileInfo(file).isFile())
        return QStringLiteral("Nebyl nalezen soubor databáze „%1“.").arg(file);
    try {
        Connection connection(QStringLiteral("vestibor-web-check"));
        opener(programDirectory)(connection);
        if (!connection.hasTable(QStringLiteral("web_ucty")))
            return QStringLiteral(
                "Databáze ještě nemá tabulky webové aplikace. Spusťte nejprve program Vestibor "
                "(nebo na serveru vestibor_prepare --server), který je doplní.");
    } catch (const AppError& e) {
        const QString where = settings.server ? settings.shownName() : file;
        return QStringLiteral("Selhalo připojení k databázi %1.\n%2").arg(where, e.text());
    }
    return QString();
}

} // namespace DatabaseOpening
