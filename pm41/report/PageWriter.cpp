#include "report/PageWriter.h"

#include <QPainter>

namespace pm41 {

PageWriter::PageWriter(QPainter& painter, const ReportData& data, const PageMetrics& m)
    : p(painter), data(data), m(m), edges(columnEdges(data, m.width))
{
}

void PageWriter::text(const FittedFont& font, const QColor& colour, qreal x, qreal baseline, const QString& s)
{
    if (&font != current) {
        p.setFont(font.font());
        current = &font;
    }
    if (colour != pen) {
        p.setPen(colour);
        pen = colour;
    }
    p.drawText(QPointF(x, baseline), s);
}

void PageWriter::rightText(const FittedFont& font, const QColor& colour, qreal right, qreal baseline,
                           const QString& s)
{
    text(font, colour, right - font.width(s), baseline, s);
}

void PageWriter::line(qreal y, qreal thickness, const QColor& colour)
{
    p.fillRect(QRectF(0, y, m.width, thickness), colour);
}

qreal PageWriter::letterhead()
{
    const qreal height = letterheadHeight(data, m);
    if (height == 0)
        return 0;
    qreal left = 0;
    if (!data.companyName.isEmpty()) {
        text(m.company, ink::accent, 0, left + m.company.ascent(),
             m.company.fit(data.companyName, m.width * 0.6));
        left += m.company.height();
    }
    for (const QString& s : data.companyAddress) {
        text(m.small, ink::text, 0, left + m.small.ascent(), m.small.fit(s, m.width * 0.6));
        left += m.small.height();
    }
    qreal right = 0;
    for (const QString& s : data.companyContacts) {
        rightText(m.small, ink::text, m.width, right + m.small.ascent(), m.small.fit(s, m.width * 0.38));
        right += m.small.height();
    }
    line(height - m.mm(1.2), m.mm(0.5), ink::accent);
    return height;
}

void PageWriter::cell(const FittedFont& font, const QColor& colour, int column, qreal baseline,
                      const QString& s)
{
    const qreal left = edges[column] + m.padding;
    const qreal right = edges[column + 1] - m.padding;
    const QString shown = font.fit(s, right - left);
    switch (data.columns[column].alignment) {
    case Alignment::Left:
        text(font, colour, left, baseline, shown);
        break;
    case Alignment::Right:
        rightText(font, colour, right, baseline, shown);
        break;
    case Alignment::Center:
        text(font, colour, (left + right - font.width(shown)) / 2, baseline, shown);
        break;
    }
}

qreal PageWriter::columnTitles(qreal y)
{
    p.fillRect(QRectF(0, y, m.width, m.headHeight), ink::headBand);
    const qreal baseline = y + (m.headHeight - m.bold.height()) / 2 + m.bold.ascent();
    for (int c = 0; c < data.columns.size(); ++c)
        cell(m.bold, ink::accent, c, baseline, data.columns[c].title);
    line(y + m.headHeight - m.mm(0.35), m.mm(0.35), ink::accent);
    return y + m.headHeight;
}

void PageWriter::row(const ReportRow& r, qreal y, bool striped)
{
    if (striped)
        p.fillRect(QRectF(0, y, m.width, m.rowHeight), ink::stripe);
    const FittedFont& font = r.marked ? m.bold : m.body;
    const QColor& colour = r.marked ? ink::marked : ink::text;
    const qreal baseline = y + (m.rowHeight - font.height()) / 2 + font.ascent();
    for (int c = 0; c < r.cells.size() && c < data.columns.size(); ++c)
        if (!r.cells[c].isEmpty())
            cell(font, colour, c, baseline, r.cells[c]);
}

void PageWriter::footer(const QString& left, int number, int count)
{
    const qreal top = m.height - m.footerHeight + m.mm(1.5);
    line(top, m.mm(0.2), ink::rule);
    const qreal baseline = top + m.mm(1) + m.small.ascent();
    text(m.small, ink::muted, 0, baseline, m.small.fit(left, m.width * 0.7));
    rightText(m.small, ink::muted, m.width, baseline,
              QStringLiteral("Strana %1 z %2").arg(number).arg(count));
}

} // namespace pm41
