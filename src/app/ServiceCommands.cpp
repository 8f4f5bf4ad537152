#include "app/ServiceCommands.h"

#include "app/Konfig_f.h"
#include "app/TUctyTechniku.h"
#include "app/UdajeUzivatele_f.h"
#include "exchange/CustomerImport.h"
#include "helpers/Cp1250.h"
#include "helpers/Password.h"
#include "helpers/TextConversions.h"
#include "uikit/AppContext.h"
#include "uikit/DialogBackend.h"
#include "uikit/Dialogs.h"

#include <QFileInfo>

namespace {

// The settings as the dialog leaves them; nothing when it was cancelled.
template <class Dialog> std::optional<Settings> chooseSettings(const Settings& current, QWidget* parent)
{
    Dialog dialog(current, parent);
    if (runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenSettings();
}

} // namespace

ServiceCommands::ServiceCommands(AppContext& context, QWidget* window, std::function<void()> applySettings,
                                 std::function<void()> dataWritten)
    : m_context(context), m_window(window), m_applySettings(std::move(applySettings)),
      m_dataWritten(std::move(dataWritten))
{
}

void ServiceCommands::changeSettings()
{
    const std::optional<Settings> chosen = chooseSettings<TKonfig>(m_context.settings, m_window);
    if (!chosen)
        return;
    // The new values are in force at once, also when the file cannot be written.
    m_context.settings = *chosen;
    m_applySettings();
    chosen->writeConfiguration(m_context.settingsFile());
}

void ServiceCommands::changeUserData()
{
    const std::optional<Settings> chosen = chooseSettings<TUdajeUzivatele>(m_context.settings, m_window);
    if (!chosen)
        return;
    m_context.settings = *chosen;
    chosen->writeUserData(m_context.settingsFile());
}

void ServiceCommands::changePassword()
{
    const std::optional<QString> entry =
        inputBox(QStringLiteral("Změna hesla"), QStringLiteral("Zadejte nové heslo"));
    if (!entry) {
        ShowPlainMessage(QStringLiteral("Akce byla stornována."));
        return;
    }
    const QString password = trimControlCharacters(*entry);
    if (password.size() < 5) {
        ShowInfo(QStringLiteral("Heslo musí mít alespoň 5 znaků."));
        return;
    }
    // The digest is taken of the Windows-1250 bytes: a character they cannot hold would turn
    // into "?" and any other such character would then open the program.
    const QString unusable = Cp1250::firstUnencodable(password);
    if (!unusable.isEmpty()) {
        ShowInfo(QStringLiteral("Heslo nesmí obsahovat znak „%1“. Použijte písmena české abecedy, číslice "
                                "a běžné znaky.")
                     .arg(unusable));
        return;
    }
    Password::writePasswordFile(m_context.path(QStringLiteral("Vestibor.heslo")), password);
}

void ServiceCommands::importCustomers()
{
    const std::optional<QString> path =
        dialogBackend().openFile(m_window, QStringLiteral("Importovat data ze souboru ..."),
                                 QStringLiteral("Dokument XML (*.xml)"), QStringLiteral("name"));
    if (!path)
        return;
    const QString fullPath = QFileInfo(*path).absoluteFilePath();
    if (QFileInfo(fullPath).suffix().toLower() != u"xml") {
        ShowInfo(QStringLiteral("Soubor \"") + fullPath + QStringLiteral("\" není v očekávaném formátu."));
        return;
    }
    if (AskQuestion(QStringLiteral("Pozor!"),
                    QStringLiteral("Opravdu chcete importovat záznamy? (nevratná operace)"),
                    QuestionKind::YesNo) != Answer::Yes)
        return;
    ImportovatXML(m_context.connection, fullPath, QStringLiteral("cis_zakaznici"));
    m_dataWritten();
}

void ServiceCommands::manageWebAccounts()
{
    TUctyTechniku window(m_context, m_window);
    runModal(window);
}
