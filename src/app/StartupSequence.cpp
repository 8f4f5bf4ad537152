// The steps of start-up that prepare the run state.
#include "app/StartupSequence.h"
#include "app/PasswordGate.h"
#include "helpers/AppError.h"
#include "helpers/DatabaseSettings.h"
#include "records/CustomerRecords.h"
#include "store/DataSet.h"
#include "store/Schema.h"
#include "store/ServerPassword.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"

#include <QDir>
#include <QFileInfo>

StartupSequence::StartupSequence(AppContext& context, CustomerRecords& records)
    : m_context(context), m_records(records)
{
}

bool StartupSequence::makeTemplateDirectory()
{
    const QString templates = m_context.path(QStringLiteral("Ses"));
    if (!QFileInfo(templates).isDir() && !QDir().mkpath(templates)) {
        ShowInfo(QStringLiteral("Nebyl nalezen adresář Ses a pokus o jeho založení selhal.\r\nChybu "
                                "napravíte přeinstalací programu."));
        return false;
    }
    return true;
}

void StartupSequence::readSettings()
{
    m_context.settings = Settings::read(m_context.settingsFile());
}

bool StartupSequence::passPasswordGate()
{
    if (!m_context.settings.hsl)
        return true;
    bool passed = false;
    runGuarded([&] { passed = Password::runGate(m_context.path(QStringLiteral("Vestibor.heslo"))); });
    return passed;
}

bool StartupSequence::connectDatabase()
{
    const DatabaseSettings database = DatabaseSettings::read(m_context.settingsFile());
    if (database.server)
        return connectServer(database);
    // The file is never created here.
    const QString file = m_context.path(QStringLiteral("Vestibor.mdb"));
    if (!QFileInfo(file).isFile()) {
        ShowWarning(QStringLiteral("Nebyl nalezen soubor databáze \"") + file +
                    QStringLiteral("\" a pokus o jeho nové založení selhal.") + QStringLiteral("\r\n") +
                    QStringLiteral("Aplikace bude ukončena."));
        return false;
    }
    try {
        m_context.connection.open(file);
    } catch (const AppError&) {
        ShowWarning(QStringLiteral("Selhalo připojení k databázi. Aplikace bude ukončena."));
        return false;
    }
    return true;
}

bool StartupSequence::connectServer(const DatabaseSettings& database)
{
    // The password comes the ways of the server's own tools (PGPASSWORD, the password file);
    // when the server asks for one they do not give, the user is asked once. It is kept
    // nowhere.
    QString password;
    bool prepared = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            m_context.connection.openServer(database.connectionString(password));
            prepared = m_context.connection.hasTable(QStringLiteral("cis_zakaznici"));
            break;
        } catch (const AppError& e) {
            const bool passwordWanted =
                attempt == 0 && ServerDatabase::passwordWanted(database.connectionString(password));
            if (passwordWanted) {
                const std::optional<QString> typed =
                    passwordBox(QStringLiteral("Heslo k databázi"),
                                QStringLiteral("Zadejte heslo uživatele „%1“ databáze %2")
                                    .arg(database.Uzivatel, database.shownName()));
                if (typed && !typed->isEmpty()) {
                    password = *typed;
                    continue;
                }
            }
            ShowWarning(QStringLiteral(
                            "Selhalo připojení k databázovému serveru %1.\r\n%2\r\nAplikace bude ukončena.")
                            .arg(database.shownName(), e.text()));
            return false;
        }
    }
    // The program never lays out a server database: that is the preparing tool's work.
    if (!prepared) {
        ShowWarning(QStringLiteral("Databáze %1 neobsahuje tabulky programu. Připravte ji nástrojem "
                                   "vestibor_prepare --server.\r\nAplikace bude ukončena.")
                        .arg(database.shownName()));
        return false;
    }
    return true;
}

void StartupSequence::openDataSets()
{
    const bool columnsUpToDate = m_context.store.ZajistitSloupec(
        QStringLiteral("cis_zakaznici"), QStringLiteral("je_firma"), QStringLiteral("BIT"));
    // Without the plan's tables and views the program works on; only the plan is off.
    m_planAvailable = Schema::upgrade(m_context.connection);
    if (!columnsUpToDate || !m_planAvailable)
        ShowWarning(QStringLiteral("Chyba"),
                    QStringLiteral("Konverze souboru databáze se nezdařila. Kontaktujte autora programu."));
    m_records.DS_Kategorie->setTableName(QStringLiteral("cis_kategorie"));
    m_records.DS_Kategorie->open();
    m_records.DS_Cin2->setTableName(QStringLiteral("cis_cinnost"));
    m_records.DS_Cin2->open();
}
