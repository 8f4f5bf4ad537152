#include "report/LetterLayout.h"

namespace pm41 {

namespace {

// Places the items of one letter, starting new pages as they fill.
class LetterFlow
{
public:
    LetterFlow(const ReportData& data, const PageMetrics& m, QList<LetterPage>& pages)
        : m_data(data), m(m), m_pages(pages), m_bottom(m.height - m.footerHeight)
    {
    }

    void letter(int group)
    {
        const ReportGroup& g = m_data.groups[group];
        m_first = int(m_pages.size());
        m_pages.append(LetterPage{group, 1, 1, {}});
        m_y = g.recipient.isEmpty() ? letterheadHeight(m_data, m) + m.mm(8)
                                    : addressBlock(m_data, g, m).area.bottom() + m.mm(12);

        text(g.intro);
        if (g.rowCount > 0) {
            if (!g.intro.isEmpty())
                m_y += m.mm(3);
            if (m_y + m.headHeight + m.rowHeight > m_bottom)
                newPage();
            titles();
            for (int r = g.firstRow; r < g.firstRow + g.rowCount; ++r) {
                if (m_y + m.rowHeight > m_bottom) {
                    newPage();
                    titles();
                }
                place(LetterItem::Kind::Row, m.rowHeight, QString(), r);
            }
        }
        if (!g.closing.isEmpty()) {
            // The closing with the signature stays whole on the next page rather than leave
            // its last lines alone there.
            const qreal closing = height(g.closing);
            if (m_y + m.letterLine + closing > m_bottom && runningHeaderHeight(m) + closing <= m_bottom)
                newPage();
            if (g.rowCount > 0 || !g.intro.isEmpty())
                gap();
            text(g.closing);
        }
        const int count = int(m_pages.size()) - m_first;
        for (int i = m_first; i < m_pages.size(); ++i)
            m_pages[i].count = count;
    }

    // The page of a letter report without rows: only the line that says so.
    void nothing()
    {
        m_pages.append(LetterPage{-1, 1, 1, {}});
        m_y = letterheadHeight(m_data, m) + m.mm(8);
        place(LetterItem::Kind::Text, m.letterLine, QStringLiteral("Sestava neobsahuje žádné záznamy."));
    }

private:
    bool atTop() const { return m_pages.last().number > 1 && m_pages.last().items.isEmpty(); }

    void newPage()
    {
        m_pages.append(LetterPage{m_pages.last().group, m_pages.last().number + 1, 1, {}});
        m_y = runningHeaderHeight(m);
    }

    void place(LetterItem::Kind kind, qreal height, const QString& text, int row = -1)
    {
        if (m_y + height > m_bottom)
            newPage();
        m_pages.last().items.append(LetterItem{kind, m_y, text, row});
        m_y += height;
    }

    // A gap between paragraphs; none at the top of a page, and one that does not fit ends
    // the page.
    void gap()
    {
        if (atTop())
            return;
        if (m_y + m.letterLine > m_bottom)
            newPage();
        else
            place(LetterItem::Kind::Text, m.letterLine, QString());
    }

    qreal height(const QStringList& lines) const
    {
        qreal h = 0;
        for (const QString& line : lines)
            h += line.isEmpty() ? m.letterLine : wrapText(m.letter, line, m.width).size() * m.letterLine;
        return h;
    }

    void titles() { place(LetterItem::Kind::ColumnTitles, m.headHeight, QString()); }

    void text(const QStringList& lines)
    {
        for (const QString& line : lines) {
            if (line.isEmpty()) {
                gap();
                continue;
            }
            for (const QString& wrapped : wrapText(m.letter, line, m.width))
                place(LetterItem::Kind::Text, m.letterLine, wrapped);
        }
    }

    const ReportData& m_data;
    const PageMetrics& m;
    QList<LetterPage>& m_pages;
    const qreal m_bottom;
    int m_first = 0;
    qreal m_y = 0;
};

} // namespace

AddressBlock addressBlock(const ReportData& data, const ReportGroup& group, const PageMetrics& m)
{
    AddressBlock block;
    const qreal width = m.width * 0.5;
    for (const QString& line : group.recipient)
        block.lines << wrapText(m.letter, line, width);
    // An envelope's window lies about 45 mm below the top edge of the paper, 33 mm below the
    // top margin; the text goes on below room for four lines even when the address is shorter.
    const qreal top = qMax(m.mm(33), letterheadHeight(data, m) + m.mm(6));
    block.area = QRectF(m.width - width, top, width, qMax<qsizetype>(block.lines.size(), 4) * m.letterLine);
    return block;
}

QList<LetterPage> paginateLetters(const ReportData& data, const PageMetrics& m)
{
    QList<LetterPage> pages;
    LetterFlow flow(data, m, pages);
    for (int g = 0; g < data.groups.size(); ++g)
        flow.letter(g);
    if (pages.isEmpty())
        flow.nothing();
    return pages;
}

} // namespace pm41
