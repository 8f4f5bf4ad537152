// The main window's service commands: settings, the user's data, the password, the import.
#include "app/Hlavni_f.h"
#include "app/Konfig_f.h"
#include "app/UdajeUzivatele_f.h"
#include "exchange/CustomerImport.h"
#include "helpers/Cp1250.h"
#include "helpers/Password.h"
#include "helpers/TextConversions.h"
#include "uikit/DialogBackend.h"
#include "uikit/Dialogs.h"

#include <QFileInfo>

void THlavni::settingsCommand()
{
    Settings chosen;
    {
        TKonfig dialog(m_context.settings, this);
        if (runModal(dialog) != QDialog::Accepted)
            return;
        chosen = dialog.chosenSettings();
    }
    // The new values are in force at once, also when the file cannot be written.
    m_context.settings = chosen;
    applySettings();
    chosen.writeConfiguration(m_context.settingsFile());
}

void THlavni::userDataCommand()
{
    Settings chosen;
    {
        TUdajeUzivatele dialog(m_context.settings, this);
        if (runModal(dialog) != QDialog::Accepted)
            return;
        chosen = dialog.chosenSettings();
    }
    m_context.settings = chosen;
    chosen.writeUserData(m_context.settingsFile());
}

void THlavni::changePasswordCommand()
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

void THlavni::importCustomersCommand()
{
    const std::optional<QString> path =
        dialogBackend().openFile(this, QStringLiteral("Importovat data ze souboru ..."),
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
    dataWritten();
}
