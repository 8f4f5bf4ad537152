#include "report/ReportPainter.h"

#include "report/LetterPainter.h"
#include "report/PageLayout.h"
#include "report/PageWriter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace pm41 {

namespace {

// The pages of a table report: the full header on the first page, a running header on the
// others, the rows, and the totals and the count of rows at the end.
class ReportPages : public PageWriter
{
public:
    using PageWriter::PageWriter;

    void page(const PagePlan& plan, int number, int count)
    {
        qreal y = number == 1 ? firstHeader() : runningHeader();
        y = columnTitles(y);
        for (int r = plan.firstRow; r < plan.firstRow + plan.rowCount; ++r, y += m.rowHeight)
            row(data.rows[r], y, (r % 2) == 1);
        if (plan.trailer)
            trailer(y);
        QString left = data.title;
        if (!data.companyName.isEmpty())
            left = data.companyName + QStringLiteral("  ·  ") + left;
        footer(left, number, count);
    }

private:
    qreal firstHeader()
    {
        qreal y = letterhead();
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
    if (m_data.letter)
        return paintLetters(printer, m_data, metrics);
    const QList<PagePlan> plan = paginate(m_data, metrics);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    ReportPages writer(painter, m_data, metrics);
    for (int i = 0; i < plan.size(); ++i) {
        if (i > 0)
            printer.newPage();
        writer.page(plan[i], i + 1, int(plan.size()));
    }
    painter.end();
    return int(plan.size());
}

} // namespace pm41
