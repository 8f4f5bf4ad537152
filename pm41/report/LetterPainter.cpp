#include "report/LetterPainter.h"

#include "report/LetterLayout.h"
#include "report/PageWriter.h"

#include <QPainter>
#include <QPrinter>

namespace pm41 {

namespace {

// The pages of letters. A letter's first page has the letterhead and the address block; the
// pages after it a line with the sender and the recipient. A letter of one page carries no
// page number, a longer one "Strana N z M" counted within the letter.
class LetterPages : public PageWriter
{
public:
    using PageWriter::PageWriter;

    void page(const LetterPage& page)
    {
        const ReportGroup* group = page.group >= 0 ? &data.groups[page.group] : nullptr;
        if (page.number == 1) {
            letterhead();
            if (group)
                address(*group);
        } else {
            runningHeader(*group);
        }
        for (const LetterItem& item : page.items) {
            switch (item.kind) {
            case LetterItem::Kind::Text:
                if (!item.text.isEmpty())
                    text(m.letter, ink::text, 0, item.y + m.letter.ascent(), item.text);
                break;
            case LetterItem::Kind::ColumnTitles:
                columnTitles(item.y);
                break;
            case LetterItem::Kind::Row:
                row(data.rows[item.row], item.y, group && (item.row - group->firstRow) % 2 == 1);
                break;
            }
        }
        if (page.count > 1)
            footer(QString(), page.number, page.count);
    }

private:
    void address(const ReportGroup& group)
    {
        const AddressBlock block = addressBlock(data, group, m);
        qreal y = block.area.top();
        for (const QString& s : block.lines) {
            text(m.letter, ink::text, block.area.left(), y + m.letter.ascent(), s);
            y += m.letterLine;
        }
    }

    void runningHeader(const ReportGroup& group)
    {
        text(m.running, ink::accent, 0, m.running.ascent(), m.running.fit(data.companyName, m.width * 0.48));
        rightText(m.small, ink::muted, m.width, m.running.ascent(),
                  m.small.fit(group.recipient.value(0), m.width * 0.48));
        line(m.running.height() + m.mm(1), m.mm(0.25), ink::rule);
    }
};

} // namespace

int paintLetters(QPrinter& printer, const ReportData& data, const PageMetrics& m)
{
    const QList<LetterPage> pages = paginateLetters(data, m);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    LetterPages writer(painter, data, m);
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        writer.page(pages[i]);
    }
    painter.end();
    return int(pages.size());
}

} // namespace pm41
