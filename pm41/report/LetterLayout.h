#pragma once

#include "report/PageLayout.h"

namespace pm41 {

// One line of a letter's page: a line of text (empty for a gap between paragraphs), the band
// of column titles or a row of the report.
struct LetterItem
{
    enum class Kind
    {
        Text,
        ColumnTitles,
        Row
    };
    Kind kind = Kind::Text;
    qreal y = 0;
    QString text;
    int row = -1; // into the report's rows
};

// One page of a letter. Its first page carries the letterhead and the address block, the
// others a running line with the sender and the recipient.
struct LetterPage
{
    int group = -1; // into the report's groups; -1 for the page saying there are no rows
    int number = 1; // within its letter
    int count = 1;  // pages of its letter
    QList<LetterItem> items;
};

// The address block of a letter's first page: its lines wrapped to the right half of the
// page, and where they stand, as low as the window of an envelope and never over the
// letterhead.
struct AddressBlock
{
    QStringList lines;
    QRectF area;
};
AddressBlock addressBlock(const ReportData& data, const ReportGroup& group, const PageMetrics& m);

// Lays the letters out page by page, each letter from a new page: its opening text, the
// column titles and its rows (the titles again on each page the rows go on to), its
// closing text. Lines of text are wrapped to the width of the page.
QList<LetterPage> paginateLetters(const ReportData& data, const PageMetrics& m);

} // namespace pm41
