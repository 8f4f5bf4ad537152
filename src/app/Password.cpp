#include "app/Password.h"

#include "app/Cp1250.h"
#include "app/Dialogs.h"
#include "app/SafeFile.h"
#include "app/TextConversions.h"
#include "store/Errors.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace Password {

QString OtiskHesla(const QString& password)
{
    const QByteArray bytes = Cp1250::encode(TrimControl(password));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

bool OveritHeslo(const QString& passwordFile, const QString& entry)
{
    QFile file(passwordFile);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Soubor „%1“ nelze přečíst: %2").arg(passwordFile, file.errorString()));
    const QString content = TrimControl(Cp1250::decode(file.readAll()));
    return content == OtiskHesla(entry);
}

void writePasswordFile(const QString& passwordFile, const QString& password)
{
    const QByteArray line = OtiskHesla(password).toLatin1() + "\r\n";
    if (const std::optional<QString> failure = SafeFile::writeWhole(passwordFile, line))
        throw AppError(QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(passwordFile, *failure));
}

bool runGate(const QString& passwordFile)
{
    if (!QFileInfo::exists(passwordFile)) {
        ShowInfo(QStringLiteral("Nebyl nalezen soubor \"Vestibor.heslo\".\r\nChybu napravíte přeinstalací programu."));
        return false;
    }
    const std::optional<QString> entry =
        InputBox(QStringLiteral("Heslo"), QStringLiteral("Zadejte heslo pro vstup do programu"));
    if (!entry)
        return false;
    const QString password = TrimControl(*entry);
    if (password.isEmpty()) {
        ShowInfo(QStringLiteral("Zadali jste neplatnou hodnotu"));
        return false;
    }
    if (!OveritHeslo(passwordFile, password)) {
        ShowWarning(QStringLiteral("Pozor"), QStringLiteral("Zadali jste neplatné heslo!\r\nOpakujte zadání hesla."));
        return false;
    }
    return true;
}

} // namespace Password
