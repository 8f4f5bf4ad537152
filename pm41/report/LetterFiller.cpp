#include "report/LetterFiller.h"

#include "report/Formatting.h"
#include "report/ReportError.h"

#include <QSqlRecord>

namespace pm41 {

namespace {

// The placeholder of the day the letters are printed.
const QString today = QStringLiteral("dnes");

} // namespace

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
