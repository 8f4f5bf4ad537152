#include "report/ReportPainter.h"

#include "report/PageLayout.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace pm41 {

namespace {

// Everything one paint run needs, so the page functions take few arguments.
class PageWriter
{
public:
    PageWriter(QPainter& painter, const ReportData& data, const PageMetrics& m)
        : p(painter), data(data), m(m), edges(columnEdges(data, m.width))
    {
    }

    void page(const PagePlan& plan, int number, int count)
    {
        qreal y = number == 1 ? firstHeader() : runningHeader();
        y = columnTitles(y);
        for (int r = plan.firstRow; r < plan.firstRow + plan.rowCount; ++r, y += m.rowHeight)
            row(data.rows[r], y, (r % 2) == 1);
        if (plan.trailer)
            trailer(y);
        footer(number, count);
    }

private:
    void text(const FittedFont& font, const QColor& colour, qreal x, qreal baseline, const QString& s)
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

    void rightText(const FittedFont& font, const QColor& colour, qreal right, qreal baseline,
                   const QString& s)
    {
        text(font, colour, right - font.width(s), baseline, s);
    }

    void line(qreal y, qreal thickness, const QColor& colour)
    {
        p.fillRect(QRectF(0, y, m.width, thickness), colour);
    }

    qreal firstHeader()
    {
        qreal y = 0;
        if (!data.companyName.isEmpty() || !data.companyAddress.isEmpty() ||
            !data.companyContacts.isEmpty()) {
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
                rightText(m.small, ink::text, m.width, right + m.small.ascent(),
                          m.small.fit(s, m.width * 0.38));
                right += m.small.height();
            }
            y = qMax(left, right) + m.mm(2.5);
            line(y - m.mm(1.2), m.mm(0.5), ink::accent);
        }
        y += m.mm(4);
        text(m.title, ink::accent, 0, y + m.title.ascent(), m.title.fit(data.title, m.width));
        y += m.title.height() + m.mm(1.5);

        const qreal step = m.body.height() * 1.25;
        if (!data.customer.isEmpty()) {
            const QString label = QStringLiteral("Zákazník: ");
            text(m.bold, ink::text, 0, y + m.body.ascent(), label);
            text(m.body, ink::text, m.bold.width(label), y + m.body.ascent(),
                 m.body.fit(data.customer, m.width - m.bold.width(label)));
            y += step;
        }
        qreal x = 0;
        for (const auto& [caption, value] : data.parameters) {
            const QString label = caption + QStringLiteral(": ");
            text(m.bold, ink::text, x, y + m.body.ascent(), label);
            x += m.bold.width(label);
            text(m.body, ink::text, x, y + m.body.ascent(), value);
            x += m.body.width(value) + m.mm(6);
        }
        rightText(m.body, ink::muted, m.width, y + m.body.ascent(),
                  QStringLiteral("Datum tisku: ") + data.printed.toString(QStringLiteral("d.M.yyyy")));
        y += step + m.mm(4);
        return y;
    }

    qreal runningHeader()
    {
        text(m.running, ink::accent, 0, m.running.ascent(), m.running.fit(data.title, m.width * 0.6));
        rightText(m.small, ink::muted, m.width, m.running.ascent(),
                  m.small.fit(data.companyName, m.width * 0.38));
        line(m.running.height() + m.mm(1), m.mm(0.25), ink::rule);
        return runningHeaderHeight(m);
    }

    void cell(const FittedFont& font, const QColor& colour, int column, qreal baseline, const QString& s)
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

    qreal columnTitles(qreal y)
    {
        p.fillRect(QRectF(0, y, m.width, m.headHeight), ink::headBand);
        const qreal baseline = y + (m.headHeight - m.bold.height()) / 2 + m.bold.ascent();
        for (int c = 0; c < data.columns.size(); ++c)
            cell(m.bold, ink::accent, c, baseline, data.columns[c].title);
        line(y + m.headHeight - m.mm(0.35), m.mm(0.35), ink::accent);
        return y + m.headHeight;
    }

    void row(const ReportRow& r, qreal y, bool striped)
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

    void trailer(qreal y)
    {
        if (data.rows.isEmpty()) {
            text(m.body, ink::muted, m.padding, y + m.rowHeight * 0.75 + m.body.ascent() / 2,
                 QStringLiteral("Sestava neobsahuje žádné záznamy."));
            y += m.rowHeight * 1.5;
        }
        if (!data.totals.isEmpty()) {
            line(y, m.mm(0.35), ink::accent);
            totals(y + m.rowHeight * 0.65);
            y += m.rowHeight * 1.3;
        }
        y += m.mm(1.5);
        const qreal baseline = y + m.small.ascent();
        const QString count = QStringLiteral("Počet záznamů: %1").arg(data.rows.size());
        text(m.small, ink::muted, 0, baseline, count);
        if (!data.legend.isEmpty()) {
            const qreal x = m.small.width(count) + m.mm(8);
            const qreal box = m.small.ascent() * 0.8;
            p.fillRect(QRectF(x, baseline - box, box, box), ink::marked);
            text(m.smallBold, ink::marked, x + box + m.mm(1.5), baseline,
                 QStringLiteral("%1 (%2)").arg(data.legend).arg(data.markedCount));
        }
    }

    // Sums are wider than the values above them: when one does not fit its column, the
    // smaller font is tried, and then the unit moves from the sums to the caption.
    void totals(qreal middle)
    {
        const auto fits = [&](const FittedFont& font, bool withUnit) {
            for (const ReportTotal& t : data.totals)
                if (font.width(withUnit ? t.text : t.amount) >
                    edges[t.column + 1] - edges[t.column] - m.padding)
                    return false;
            return true;
        };
        const bool large = fits(m.bold, true);
        const FittedFont& font = large ? m.bold : m.smallBold;
        const bool withUnit = large || fits(m.smallBold, true) || data.totalsUnit.isEmpty();
        const qreal baseline = middle + font.ascent() / 2;
        QString caption = data.totalsCaption;
        if (!withUnit)
            caption += QStringLiteral(" (%1)").arg(data.totalsUnit);
        text(m.bold, ink::accent, m.padding, middle + m.bold.ascent() / 2, caption);
        for (const ReportTotal& t : data.totals)
            rightText(font, ink::text, edges[t.column + 1] - m.padding, baseline,
                      withUnit ? t.text : t.amount);
    }

    void footer(int number, int count)
    {
        const qreal top = m.height - m.footerHeight + m.mm(1.5);
        line(top, m.mm(0.2), ink::rule);
        const qreal baseline = top + m.mm(1) + m.small.ascent();
        QString left = data.title;
        if (!data.companyName.isEmpty())
            left = data.companyName + QStringLiteral("  ·  ") + left;
        text(m.small, ink::muted, 0, baseline, m.small.fit(left, m.width * 0.7));
        rightText(m.small, ink::muted, m.width, baseline,
                  QStringLiteral("Strana %1 z %2").arg(number).arg(count));
    }

    QPainter& p;
    const ReportData& data;
    const PageMetrics& m;
    const QList<qreal> edges;
    const FittedFont* current = nullptr;
    QColor pen;
};

} // namespace

void ReportPainter::setUpPrinter(QPrinter& printer, const ReportData& data)
{
    printer.setFullPage(false);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      data.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                                 : QPageLayout::Portrait,
                                      QMarginsF(14, 12, 14, 10), QPageLayout::Millimeter));
    printer.setDocName(data.title);
    printer.setCreator(QStringLiteral("Vestibor PM41"));
}

int ReportPainter::paint(QPrinter& printer) const
{
    const PageMetrics metrics(printer, m_data.fontSize);
    const QList<PagePlan> plan = paginate(m_data, metrics);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    PageWriter writer(painter, m_data, metrics);
    for (int i = 0; i < plan.size(); ++i) {
        if (i > 0)
            printer.newPage();
        writer.page(plan[i], i + 1, int(plan.size()));
    }
    painter.end();
    return int(plan.size());
}

} // namespace pm41
