#pragma once

#include "report/Export.h"
#include "report/ReportData.h"

class QPrinter;

namespace pm41 {

// Paints a report page by page on a printer, a PDF file or the print preview: the full
// header on the first page, a running header on the others, the column titles on each,
// the rows, the totals and the page numbers "Strana N z M". A letter report goes letter by
// letter instead (LetterPainter.h).
class PM41_EXPORT ReportPainter
{
public:
    explicit ReportPainter(const ReportData& data) : m_data(data) {}

    // A4 in the report's orientation with the report's margins.
    static void setUpPrinter(QPrinter& printer, const ReportData& data);

    // Paints every page; returns how many, or 0 when the printer could not be painted on.
    int paint(QPrinter& printer) const;

private:
    const ReportData& m_data;
};

} // namespace pm41
