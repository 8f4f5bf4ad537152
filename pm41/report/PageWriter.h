#pragma once

#include "report/PageLayout.h"

class QPainter;

namespace pm41 {

// What the pages of a report and of a letter are drawn with: text in the report's fonts and
// colours, rules, the letterhead of the user's company, the column titles and the rows.
class PageWriter
{
public:
    PageWriter(QPainter& painter, const ReportData& data, const PageMetrics& m);

protected:
    void text(const FittedFont& font, const QColor& colour, qreal x, qreal baseline, const QString& s);
    void rightText(const FittedFont& font, const QColor& colour, qreal right, qreal baseline,
                   const QString& s);
    void line(qreal y, qreal thickness, const QColor& colour);

    // The company's name, address and contacts across the top of the page, with a rule
    // under them; returns the height used, letterheadHeight.
    qreal letterhead();
    // The band of column titles at y; returns the y below it.
    qreal columnTitles(qreal y);
    void row(const ReportRow& r, qreal y, bool striped);
    // "Strana N z M" at the right of the footer, with the text at its left.
    void footer(const QString& left, int number, int count);

    QPainter& p;
    const ReportData& data;
    const PageMetrics& m;
    const QList<qreal> edges;

private:
    void cell(const FittedFont& font, const QColor& colour, int column, qreal baseline, const QString& s);

    const FittedFont* current = nullptr;
    QColor pen;
};

} // namespace pm41
