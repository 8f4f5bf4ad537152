#include "helpers/Password.h"

#include "helpers/AppError.h"
#include "helpers/Cp1250.h"
#include "helpers/SafeFile.h"
#include "helpers/TextConversions.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace Password {

QString OtiskHesla(const QString& password)
{
    const QByteArray bytes = Cp1250::encode(trimControlCharacters(password));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

bool OveritHeslo(const QString& passwordFile, const QString& entry)
{
    QFile file(passwordFile);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Soubor „%1“ nelze přečíst: %2").arg(passwordFile, file.errorString()));
    const QString content = trimControlCharacters(Cp1250::decode(file.readAll()));
    return content == OtiskHesla(entry);
}

void writePasswordFile(const QString& passwordFile, const QString& password)
{
    const QByteArray line = OtiskHesla(password).toLatin1() + "\r\n";
    if (const std::optional<QString> failure = SafeFile::writeWhole(passwordFile, line))
        throw AppError(QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(passwordFile, *failure));
}

} // namespace Password
