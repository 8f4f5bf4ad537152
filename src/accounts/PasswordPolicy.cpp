#include "accounts/PasswordPolicy.h"

#include <QFile>
#include <QSet>

static void ensureResources()
{
    Q_INIT_RESOURCE(accounts);
}

namespace PasswordPolicy {

namespace {

QSet<QString> readCommonPasswords()
{
    ensureResources();
    QSet<QString> passwords;
    QFile file(QStringLiteral(":/accounts/common_passwords.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return passwords;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            passwords.insert(line);
    }
    return passwords;
}

bool isCommon(const QString& password)
{
    static const QSet<QString> common = readCommonPasswords();
    return common.contains(password.toLower());
}

} // namespace

QString problem(const QString& password, const QString& login)
{
    if (password.toUcs4().size() < MinimumLength)
        return QStringLiteral("Heslo musí mít alespoň %1 znaků.").arg(MinimumLength);
    if (isCommon(password))
        return QStringLiteral("Toto heslo patří mezi běžně používaná a snadno se uhodne; zvolte jiné.");
    const QString name = login.trimmed();
    if (!name.isEmpty() && password.contains(name, Qt::CaseInsensitive))
        return QStringLiteral("Heslo nesmí obsahovat přihlašovací jméno.");
    return QString();
}

} // namespace PasswordPolicy
