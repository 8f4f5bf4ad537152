#include "report/ProgramValues.h"

#include "report/QueryText.h"
#include "report/TemplateSections.h"

namespace pm41 {

QString parseProgramValues(const QString& text, ParameterValues& out)
{
    out.clear();
    if (text.isEmpty())
        return {};
    ParameterValues values;
    const QStringList parts = text.split(u'|');
    if (parts.size() % 2 != 0)
        return QStringLiteral("Hodnoty od programu nejsou ve tvaru „jméno|hodnota|jméno|hodnota“: ke jménu "
                              "„%1“ chybí hodnota.")
            .arg(parts.last());
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& name = parts[i];
        if (!isName(name))
            return QStringLiteral("„%1“ není platné jméno hodnoty od programu; jméno tvoří písmena bez "
                                  "diakritiky, číslice a podtržítko.")
                .arg(name);
        if (builtInParameters().contains(name, Qt::CaseInsensitive))
            return QStringLiteral("Hodnota od programu se nesmí jmenovat „%1“: to jméno patří údaji, který "
                                  "sestava dostává vždy.")
                .arg(name);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                return QStringLiteral("Hodnota „%1“ je mezi hodnotami od programu dvakrát.").arg(name);
        values.insert(name, parts[i + 1]);
    }
    out = values;
    return {};
}

QString checkProgramValues(const Template& t, const ParameterValues& given)
{
    for (auto it = given.cbegin(); it != given.cend(); ++it)
        if (!t.programValues.contains(it.key()))
            return t.programValues.isEmpty()
                       ? QStringLiteral(
                             "Předloha nepřijímá od programu žádné hodnoty, program jí však předává "
                             "„%1“.")
                             .arg(it.key())
                       : QStringLiteral(
                             "Předloha nezná hodnotu „%1“, kterou jí program předává; přijímá jen: %2.")
                             .arg(it.key(), t.programValues.join(QStringLiteral(", ")));
    return {};
}

} // namespace pm41
