#pragma once

#include "report/ReportData.h"
#include "report/ReportPainter.h"

#include <QDialog>
#include <QPrinter>

class QLabel;
class QPrintPreviewWidget;

namespace pm41 {

// The print preview of one report, with printing and saving as PDF.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PreviewDialog(const ReportData& data, QWidget* parent = nullptr);

    // Lays out every page now, so the window opens on finished pages.
    void render();
    int pageCount() const;

private slots:
    void printReport();
    void savePdf();
    void showPosition();

private:
    ReportData m_data;
    ReportPainter m_painter{m_data};
    QPrinter m_printer{QPrinter::HighResolution};
    QPrintPreviewWidget* m_preview;
    QLabel* m_position;
};

} // namespace pm41
