#include "report/LetterText.h"

#include "report/Formatting.h"
#include "report/ReportError.h"
#include "report/TemplateSections.h"

#include <QSqlRecord>

namespace pm41 {

namespace {

const QString today = QStringLiteral("dnes");

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

LetterFiller::LetterFiller(const Template& t, const QSqlRecord& record, const UserData& user,
                           const QDate& date)
{
    for (const QString& name : companyNames())
        m_fixed.insert(name.toLower(), user.text(name).trimmed());
    m_fixed.insert(today, date.toString(QStringLiteral("d.M.yyyy")));
    for (const LetterText* text : {&t.recipient, &t.intro, &t.closing})
        resolve(*text, record);
}

void LetterFiller::resolve(const LetterText& text, const QSqlRecord& record)
{
    for (const TextLine& line : text.lines)
        for (const TextPiece& piece : line.pieces) {
            if (!piece.placeholder)
                continue;
            const bool fixed = m_fixed.contains(piece.text.toLower());
            const int field = record.indexOf(piece.text);
            if (fixed && field >= 0)
                fail(line.line,
                     QStringLiteral("zástupný údaj {%1} je zároveň pole dotazu i údaj, který sestava "
                                    "dostává od programu; pole v dotazu pojmenujte jinak (AS …).")
                         .arg(piece.text));
            if (!fixed && field < 0) {
                QStringList fields;
                for (int c = 0; c < record.count(); ++c)
                    fields << record.fieldName(c);
                fail(line.line,
                     QStringLiteral("neznámý zástupný údaj {%1}. Dopis může použít pole dotazu (%2), "
                                    "údaje uživatele {%3} a dnešní datum {dnes}.")
                         .arg(piece.text, fields.join(QStringLiteral(", ")),
                              companyNames().join(QStringLiteral("}, {"))));
            }
            if (field >= 0)
                m_fields.insert(piece.text, field);
        }
}

QStringList LetterFiller::fill(const LetterText& text, const QVariantList& row) const
{
    QStringList out;
    bool leftOut = false; // a line was left out since the last printed one
    for (const TextLine& line : text.lines) {
        if (line.pieces.isEmpty()) {
            if (!out.isEmpty() && !(leftOut && out.last().isEmpty()))
                out << QString();
            continue;
        }
        QString printed;
        bool withPlaceholder = false;
        bool filled = false;
        bool written = false;
        for (const TextPiece& piece : line.pieces) {
            if (!piece.placeholder) {
                printed += piece.text;
                written = written || !piece.text.trimmed().isEmpty();
                continue;
            }
            const auto field = m_fields.constFind(piece.text);
            const QString value = field != m_fields.constEnd() ? formatInText(row.value(*field))
                                                               : m_fixed.value(piece.text.toLower());
            withPlaceholder = true;
            filled = filled || !value.trimmed().isEmpty();
            printed += value;
        }
        if (withPlaceholder && !filled && !written) {
            leftOut = true;
            continue;
        }
        out << printed.trimmed();
        leftOut = false;
    }
    while (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

} // namespace pm41
