#include "report/UserData.h"

namespace pm41 {

namespace {

const QString customerName = QStringLiteral("OtevrenyZakaznik");

} // namespace

const QStringList& companyNames()
{
    static const QStringList names{QStringLiteral("NazevSubjektu"), QStringLiteral("OdpovednaOsoba"),
                                   QStringLiteral("Ulice"),         QStringLiteral("PSC"),
                                   QStringLiteral("Mesto"),         QStringLiteral("ICO"),
                                   QStringLiteral("DIC"),           QStringLiteral("Tel"),
                                   QStringLiteral("Email"),         QStringLiteral("WWW")};
    return names;
}

QString UserData::text(const QString& name) const
{
    const int i = companyNames().indexOf(name);
    return i >= 0 && i < texts.size() ? texts[i] : QString();
}

QVariant UserData::value(const QString& name) const
{
    if (name == customerName)
        return openCustomerId;
    return text(name);
}

QStringList UserData::addressLines() const
{
    QStringList lines;
    for (const QString& line :
         {text(QStringLiteral("OdpovednaOsoba")), text(QStringLiteral("Ulice")),
          (text(QStringLiteral("PSC")) + u' ' + text(QStringLiteral("Mesto"))).trimmed()})
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

QStringList UserData::contactLines() const
{
    const QList<std::pair<QString, QString>> labelled{
        {QStringLiteral("IČO: "), text(QStringLiteral("ICO"))},
        {QStringLiteral("DIČ: "), text(QStringLiteral("DIC"))},
        {QStringLiteral("Tel.: "), text(QStringLiteral("Tel"))},
        {QStringLiteral("E-mail: "), text(QStringLiteral("Email"))},
        {QString(), text(QStringLiteral("WWW"))}};
    QStringList lines;
    for (const auto& [label, value] : labelled)
        if (!value.trimmed().isEmpty())
            lines << label + value.trimmed();
    return lines;
}

QString parseParameterText(const QString& text, UserData& out)
{
    out = UserData();
    const QStringList& names = companyNames();
    if (!text.startsWith(names[0] + u'|'))
        return QStringLiteral("Text parametrů od programu nezačíná jménem „%1“.").arg(names[0]);

    // The customer's id closes the text; anchoring it at the last occurrence keeps a value
    // that happens to contain the marker (say, in the web address) whole.
    const QString lastMarker = u'|' + customerName + u'|';
    const qsizetype lastAt = text.lastIndexOf(lastMarker);
    if (lastAt < 0)
        return QStringLiteral("V textu parametrů od programu chybí „%1“.").arg(customerName);

    qsizetype start = names[0].size() + 1;
    for (int i = 0; i < names.size(); ++i) {
        qsizetype end = lastAt;
        if (i + 1 < names.size()) {
            end = text.indexOf(u'|' + names[i + 1] + u'|', start);
            if (end < 0 || end > lastAt)
                return QStringLiteral("V textu parametrů od programu chybí „%1“.").arg(names[i + 1]);
        }
        out.texts << text.mid(start, end - start);
        start = end + names.value(i + 1).size() + 2;
    }

    const QString id = text.mid(lastAt + lastMarker.size()).trimmed();
    bool ok = false;
    out.openCustomerId = id.toLongLong(&ok);
    if (!ok || out.openCustomerId < 0) {
        out.openCustomerId = 0;
        return QStringLiteral("Parametr „%1“ nemá číselnou hodnotu („%2“).").arg(customerName, id);
    }
    return {};
}

} // namespace pm41
