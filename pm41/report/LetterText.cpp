#include "report/LetterText.h"

#include "report/Formatting.h"
#include "report/ReportError.h"
#include "report/TemplateSections.h"

namespace pm41 {

namespace {

TextLine readLine(const QString& raw, int line)
{
    const QString text = raw.trimmed();
    TextLine out;
    out.line = line;
    QString plain;
    const auto flush = [&] {
        if (!plain.isEmpty())
            out.pieces.append({plain, false});
        plain.clear();
    };
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        const QChar next = at + 1 < text.size() ? text[at + 1] : QChar();
        if ((c == u'{' || c == u'}') && next == c) {
            plain += c;
            ++at;
            continue;
        }
        if (c != u'{') {
            plain += c;
            continue;
        }
        const qsizetype end = text.indexOf(u'}', at + 1);
        if (end < 0)
            fail(line, QStringLiteral("zástupný údaj „%1“ není uzavřen znakem „}“; složenou závorku jako "
                                      "text zapište dvakrát: {{.")
                           .arg(text.mid(at, 40)));
        const QString name = text.mid(at + 1, end - at - 1).trimmed();
        if (!isName(name))
            fail(line,
                 QStringLiteral("„{%1}“ není platný zástupný údaj; mezi složenými závorkami stojí jméno "
                                "pole z dotazu, např. {nazev}. Složenou závorku jako text zapište "
                                "dvakrát: {{.")
                     .arg(text.mid(at + 1, end - at - 1)));
        flush();
        out.pieces.append({name, true});
        at = end;
    }
    flush();
    return out;
}

} // namespace

LetterText readLetterText(const TemplateSection& section)
{
    LetterText text;
    text.line = section.line;
    for (int i = 0; i < section.textLines.size(); ++i)
        text.lines.append(readLine(section.textLines[i], section.textLine + i));
    return text;
}

} // namespace pm41
