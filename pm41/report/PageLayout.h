#pragma once

#include "report/FittedFont.h"
#include "report/ReportData.h"

#include <QColor>
#include <QList>

class QPrinter;

namespace pm41 {

// Sizes of everything on a page, in device units, for one printer.
struct PageMetrics
{
    PageMetrics(QPrinter& printer, qreal rowPoints);

    qreal mm(qreal millimetres) const { return millimetres * dpi / 25.4; }

    qreal dpi;
    qreal width; // of the printable area
    qreal height;
    FittedFont body, bold, small, smallBold, title, company, running;
    FittedFont letter; // the text of a letter
    qreal rowHeight;
    qreal letterLine; // from one line of a letter's text to the next
    qreal headHeight; // the band of column titles
    qreal footerHeight;
    qreal padding; // inside a cell, left and right
};

// One page's share of the report.
struct PagePlan
{
    int firstRow = 0;
    int rowCount = 0;
    bool trailer = false; // totals and the closing line stand on this page
};

// Heights of the parts of a report that do not repeat with each row.
qreal letterheadHeight(const ReportData& data, const PageMetrics& m); // 0 without company data
qreal firstHeaderHeight(const ReportData& data, const PageMetrics& m);
qreal runningHeaderHeight(const PageMetrics& m);
qreal trailerHeight(const ReportData& data, const PageMetrics& m);

// Splits the rows into pages: the first page below the full header, the others below the
// running header; the totals go where they fit, on a page of their own if need be.
QList<PagePlan> paginate(const ReportData& data, const PageMetrics& m);

// The text broken into lines no wider than the width, between words where it can be; a
// word wider than a line is broken where it must be.
QStringList wrapText(const FittedFont& font, const QString& text, qreal width);

// The left edges of the columns and the right edge of the last, from the relative widths.
QList<qreal> columnEdges(const ReportData& data, qreal width);

// Colours of the printed report.
namespace ink {
inline const QColor text{0x1a, 0x1a, 0x1a};
inline const QColor muted{0x55, 0x5d, 0x66};
inline const QColor accent{0x1f, 0x3a, 0x5a};
inline const QColor headBand{0xdd, 0xe4, 0xec};
inline const QColor stripe{0xf3, 0xf5, 0xf8};
inline const QColor rule{0x9a, 0xa5, 0xb1};
inline const QColor marked{0x8b, 0x00, 0x00};
} // namespace ink

} // namespace pm41
