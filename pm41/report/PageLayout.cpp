#include "report/PageLayout.h"

#include <QPrinter>

namespace pm41 {

namespace {

QFont makeFont(qreal points, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setKerning(false); // widths are summed per character
    return f;
}

QFont makeLetterFont(qreal points)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setKerning(false);
    return f;
}

QFont makeHeadingFont(qreal points)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

} // namespace

PageMetrics::PageMetrics(QPrinter& printer, qreal rowPoints)
    : dpi(printer.resolution()), width(printer.pageLayout().paintRectPixels(printer.resolution()).width()),
      height(printer.pageLayout().paintRectPixels(printer.resolution()).height()),
      body(makeFont(rowPoints, false), &printer), bold(makeFont(rowPoints, true), &printer),
      small(makeFont(7, false), &printer), smallBold(makeFont(7, true), &printer),
      title(makeHeadingFont(15), &printer), company(makeHeadingFont(11), &printer),
      running(makeFont(8.5, true), &printer), letter(makeLetterFont(10), &printer),
      rowHeight(body.height() * 1.45), letterLine(letter.height() * 1.2), headHeight(bold.height() * 1.9),
      footerHeight(small.height() * 2.2), padding(mm(1.3))
{
}

qreal letterheadHeight(const ReportData& data, const PageMetrics& m)
{
    if (data.companyName.isEmpty() && data.companyAddress.isEmpty() && data.companyContacts.isEmpty())
        return 0;
    const qreal left =
        (data.companyName.isEmpty() ? 0 : m.company.height()) + data.companyAddress.size() * m.small.height();
    const qreal right = data.companyContacts.size() * m.small.height();
    return qMax(left, right) + m.mm(2.5);
}

qreal firstHeaderHeight(const ReportData& data, const PageMetrics& m)
{
    qreal h = letterheadHeight(data, m);
    h += m.mm(4) + m.title.height() + m.mm(1.5);
    const int infoLines = (data.customer.isEmpty() ? 0 : 1) + 1; // parameters share a line with the date
    h += infoLines * m.body.height() * 1.25 + m.mm(4);
    return h;
}

qreal runningHeaderHeight(const PageMetrics& m)
{
    return m.running.height() + m.mm(4);
}

qreal trailerHeight(const ReportData& data, const PageMetrics& m)
{
    qreal h = m.mm(1.5) + m.small.height() * 1.4; // the count of rows and the legend
    if (!data.totals.isEmpty())
        h += m.rowHeight * 1.3;
    if (data.rows.isEmpty())
        h += m.rowHeight * 1.5; // the line saying there is nothing
    return h;
}

QList<PagePlan> paginate(const ReportData& data, const PageMetrics& m)
{
    const qreal bottom = m.height - m.footerHeight;
    const qreal trailer = trailerHeight(data, m);
    QList<PagePlan> pages;
    int next = 0;
    const int rowCount = int(data.rows.size());
    while (true) {
        const qreal top =
            (pages.isEmpty() ? firstHeaderHeight(data, m) : runningHeaderHeight(m)) + m.headHeight;
        const int capacity = qMax(1, int((bottom - top) / m.rowHeight));
        PagePlan page;
        page.firstRow = next;
        page.rowCount = qMin(capacity, rowCount - next);
        next += page.rowCount;
        const qreal used = top + page.rowCount * m.rowHeight;
        page.trailer = next == rowCount && used + trailer <= bottom;
        // A page that could take no rows at all still takes the trailer, so this ends.
        if (next == rowCount && page.rowCount == 0)
            page.trailer = true;
        pages.append(page);
        if (page.trailer)
            break;
    }
    return pages;
}

QStringList wrapText(const FittedFont& font, const QString& text, qreal width)
{
    QStringList lines;
    QString current;
    // A word wider than the line goes out in pieces that fill it.
    const auto breakWord = [&](QString word) {
        while (font.width(word) > width && word.size() > 1) {
            qsizetype keep = 0;
            qreal used = 0;
            for (; keep < word.size(); ++keep) {
                used += font.width(QString(word[keep]));
                if (used > width)
                    break;
            }
            if (keep > 1 && word[keep - 1].isHighSurrogate())
                --keep;
            keep = qMax<qsizetype>(1, keep);
            lines << word.left(keep);
            word.remove(0, keep);
        }
        return word;
    };
    for (const QString& word : text.simplified().split(u' ', Qt::SkipEmptyParts)) {
        const QString joined = current.isEmpty() ? word : current + u' ' + word;
        if (font.width(joined) <= width) {
            current = joined;
            continue;
        }
        if (!current.isEmpty())
            lines << current;
        current = breakWord(word);
    }
    if (!current.isEmpty() || lines.isEmpty())
        lines << current;
    return lines;
}

QList<qreal> columnEdges(const ReportData& data, qreal width)
{
    qreal total = 0;
    for (const Column& c : data.columns)
        total += c.width;
    QList<qreal> edges{0};
    qreal at = 0;
    for (const Column& c : data.columns) {
        at += width * c.width / total;
        edges << at;
    }
    return edges;
}

} // namespace pm41
