#include "plan/ReminderMail.h"

#include "helpers/Settings.h"
#include "store/ColumnKind.h"

#include <QRegularExpression>
#include <QUrl>

namespace ReminderMail {

QString subject()
{
    return QStringLiteral("Připomenutí revize");
}

namespace {

QString sourceLine(const Source& source, const QDate& today)
{
    QString line = QStringLiteral("- ") + source.name.trimmed();
    if (!source.serialNumber.trimmed().isEmpty())
        line += QStringLiteral(", výrobní číslo ") + source.serialNumber.trimmed();
    if (source.due.isValid()) {
        line += QStringLiteral(", termín revize ") + FieldValues::dateText(source.due);
        if (source.due < today)
            line += QStringLiteral(" (termín již uplynul)");
    }
    return line;
}

} // namespace

QString body(const QList<Source>& sources, const Settings& firm, const QDate& today)
{
    QStringList lines{QStringLiteral("Dobrý den,"), QString()};
    lines << (sources.size() == 1
                  ? QStringLiteral("připomínáme Vám termín pravidelné revize Vašeho topného zdroje:")
                  : QStringLiteral("připomínáme Vám termíny pravidelných revizí Vašich topných zdrojů:"));
    lines << QString();
    for (const Source& source : sources)
        lines << sourceLine(source, today);
    lines << QString()
          << QStringLiteral(
                 "Ozvěte se nám, prosím, abychom se domluvili na termínu návštěvy našeho technika.")
          << QString() << QStringLiteral("S pozdravem");
    for (const QString& signature : {firm.OdpovednaOsoba, firm.NazevSubjektu})
        if (!signature.trimmed().isEmpty())
            lines << signature.trimmed();
    if (!firm.Tel.trimmed().isEmpty())
        lines << QStringLiteral("tel. ") + firm.Tel.trimmed();
    return lines.join(QStringLiteral("\r\n"));
}

QString mailtoAddress(const QString& emailField, const QString& subject, const QString& body)
{
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    QStringList addresses;
    for (const QString& address : emailField.split(separators, Qt::SkipEmptyParts))
        addresses << QString::fromLatin1(QUrl::toPercentEncoding(address, "@+"));
    if (addresses.isEmpty())
        return {};
    return QStringLiteral("mailto:") + addresses.join(u',') + QStringLiteral("?subject=") +
           QString::fromLatin1(QUrl::toPercentEncoding(subject)) + QStringLiteral("&body=") +
           QString::fromLatin1(QUrl::toPercentEncoding(body));
}

} // namespace ReminderMail
