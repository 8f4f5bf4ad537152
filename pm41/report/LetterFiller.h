#pragma once

#include "report/Template.h"
#include "report/UserData.h"

#include <QDate>
#include <QHash>
#include <QVariant>

class QSqlRecord;

namespace pm41 {

// Fills the letter's placeholders from a row of the query: {NazevSubjektu} … {WWW}
// with the user's company data, {dnes} with today, any other name with that result column.
class LetterFiller
{
public:
    // Finds every placeholder of the template's texts among the query's columns and the
    // user's values; one that is neither, or both, is a ReportError with its line.
    LetterFiller(const Template& t, const QSqlRecord& record, const UserData& user, const QDate& today);

    // The printed lines of a text: a line whose placeholders all came out empty and that has
    // nothing else is left out, an empty line stays as a gap between paragraphs (but two
    // gaps do not close up around a line left out), gaps at the ends are dropped.
    QStringList fill(const LetterText& text, const QVariantList& row) const;

private:
    void resolve(const LetterText& text, const QSqlRecord& record);

    QHash<QString, QString> m_fixed; // company values and today, by the name in lower case
    QHash<QString, int> m_fields;    // placeholders of result columns, as written
};

} // namespace pm41
