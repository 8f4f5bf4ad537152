#include "app/PasswordGate.h"

#include "helpers/Password.h"
#include "helpers/TextConversions.h"
#include "uikit/Dialogs.h"

#include <QFileInfo>

namespace Password {

bool runGate(const QString& passwordFile)
{
    if (!QFileInfo::exists(passwordFile)) {
        ShowInfo(QStringLiteral(
            "Nebyl nalezen soubor \"Vestibor.heslo\".\r\nChybu napravíte přeinstalací programu."));
        return false;
    }
    const std::optional<QString> entry =
        inputBox(QStringLiteral("Heslo"), QStringLiteral("Zadejte heslo pro vstup do programu"));
    if (!entry)
        return false;
    const QString password = trimControlCharacters(*entry);
    if (password.isEmpty()) {
        ShowInfo(QStringLiteral("Zadali jste neplatnou hodnotu"));
        return false;
    }
    if (!OveritHeslo(passwordFile, password)) {
        ShowWarning(QStringLiteral("Pozor"),
                    QStringLiteral("Zadali jste neplatné heslo!\r\nOpakujte zadání hesla."));
        return false;
    }
    return true;
}

} // namespace Password
