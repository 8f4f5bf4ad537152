#include "report/TemplateSections.h"

#include "report/Database.h"
#include "report/ReportError.h"
#include "report/TemplateParser.h"

#include <QRegularExpression>

namespace pm41 {

bool isName(const QString& text)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return name.match(text).hasMatch();
}

namespace {

TemplateSection header(const QString& trimmed, int line)
{
    if (!trimmed.endsWith(u']'))
        fail(line, QStringLiteral("hlavička oddílu „%1“ nekončí znakem „]“.").arg(trimmed));
    const QString inner = trimmed.mid(1, trimmed.size() - 2).simplified();
    const qsizetype space = inner.indexOf(u' ');
    TemplateSection s;
    s.line = line;
    s.kind = foldText(inner.left(space));
    s.argument = space < 0 ? QString() : inner.mid(space + 1);

    static const QStringList plain{QStringLiteral("sestava"),    QStringLiteral("soucty"),
                                   QStringLiteral("zvyrazneni"), QStringLiteral("adresat"),
                                   QStringLiteral("uvod"),       QStringLiteral("zaver")};
    static const QStringList named{QStringLiteral("parametr"), QStringLiteral("sloupec"),
                                   QStringLiteral("datum")};
    if (s.kind == u"dotaz") {
        // [dotaz] is for every database; [dotaz QPSQL] or [dotaz QSQLITE] only for one.
        s.argument = s.argument.toUpper();
        if (!s.argument.isEmpty() && s.argument != driverName(DatabaseKind::File) &&
            s.argument != driverName(DatabaseKind::Server))
            fail(line,
                 QStringLiteral("[dotaz %1]: takovou databázi předloha nezná. Dotaz pro každou databázi "
                                "stojí v oddílu [dotaz], dotaz jen pro server v [dotaz QPSQL] a jen pro "
                                "databázový soubor v [dotaz QSQLITE].")
                     .arg(inner.mid(space + 1)));
    } else if (plain.contains(s.kind)) {
        if (!s.argument.isEmpty())
            fail(line,
                 QStringLiteral("oddíl [%1] nemá jméno; za „%1“ nepatří „%2“.").arg(s.kind, s.argument));
    } else if (named.contains(s.kind)) {
        const QString example = s.kind == u"parametr" ? QStringLiteral("[parametr dni]")
                                : s.kind == u"datum"  ? QStringLiteral("[datum konec]")
                                                      : QStringLiteral("[sloupec datum]");
        if (s.argument.isEmpty())
            fail(line, QStringLiteral("oddíl [%1] potřebuje jméno, např. %2.").arg(s.kind, example));
        if (!isName(s.argument))
            fail(line, QStringLiteral("„%1“ není platné jméno; jméno tvoří písmena bez diakritiky, číslice "
                                      "a podtržítko.")
                           .arg(s.argument));
    } else {
        fail(line,
             QStringLiteral("neznámý oddíl [%1]. Předloha zná oddíly [sestava], [parametr …], [datum …], "
                            "[dotaz], [sloupec …], [soucty], [zvyrazneni], [adresat], [uvod] a [zaver].")
                 .arg(inner));
    }
    return s;
}

// Control characters have no place in a template and a NUL would cut the query short in the
// database driver; tab and the line ends are the only ones allowed.
void refuseControlCharacters(const QString& raw, int line)
{
    for (const QChar c : raw)
        if (c.category() == QChar::Other_Control && c != u'\t' && c != u'\r' && c != u'\n')
            fail(line, QStringLiteral("řádek obsahuje řídicí znak U+%1; předloha smí obsahovat jen text, "
                                      "tabulátory a konce řádků.")
                           .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0')));
}

} // namespace

QList<TemplateSection> splitSections(const QString& text, int* lineCount)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        lines.first().remove(0, 1);
    if (lineCount)
        *lineCount = int(lines.size());

    QList<TemplateSection> sections;
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        const int line = i + 1;
        refuseControlCharacters(raw, line);
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const QString trimmed = raw.trimmed();
        const bool inText = !sections.isEmpty() && sections.last().holdsText();

        // Inside the query or a letter's text only a header at the very start of a line ends
        // it; SQL or text may begin a line with "[" when indented.
        if (raw.startsWith(u'[') || (!inText && trimmed.startsWith(u'['))) {
            const TemplateSection s = header(trimmed, line);
            for (const TemplateSection& other : std::as_const(sections))
                if (other.kind == s.kind && other.argument.compare(s.argument, Qt::CaseInsensitive) == 0)
                    fail(line, QStringLiteral("oddíl %1 je v předloze podruhé (poprvé na řádku %2).")
                                   .arg(s.shown())
                                   .arg(other.line));
            sections.append(s);
            continue;
        }
        if (inText) {
            TemplateSection& section = sections.last();
            if (section.textLines.isEmpty() && trimmed.isEmpty())
                continue;
            if (section.textLines.isEmpty())
                section.textLine = line;
            section.textLines << raw;
            continue;
        }
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (sections.isEmpty())
            fail(line, QStringLiteral("zápis mimo oddíl; předloha začíná hlavičkou [sestava]."));
        const qsizetype equals = trimmed.indexOf(u'=');
        if (equals <= 0)
            fail(line, QStringLiteral("očekává se zápis „klíč = hodnota“, nalezeno „%1“.").arg(trimmed));

        TemplateEntry entry{foldText(trimmed.left(equals)), trimmed.left(equals).trimmed(),
                            trimmed.mid(equals + 1).trimmed(), line};
        TemplateSection& section = sections.last();
        for (const TemplateEntry& other : std::as_const(section.entries))
            if (other.key == entry.key)
                fail(line, QStringLiteral("klíč „%1“ je v oddílu %2 podruhé (poprvé na řádku %3).")
                               .arg(entry.keyText, section.shown())
                               .arg(other.line));
        section.entries.append(entry);
    }

    // Blank lines after the query or a text belong to no one.
    for (TemplateSection& s : sections)
        while (!s.textLines.isEmpty() && s.textLines.last().trimmed().isEmpty())
            s.textLines.removeLast();
    return sections;
}

} // namespace pm41
