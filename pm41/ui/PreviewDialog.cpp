#include "ui/PreviewDialog.h"

#include "ReportEngine.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace pm41 {

namespace {

// "Blížící se revize" printed today becomes "Blížící se revize 2026-12-09.pdf".
QString suggestedFileName(const ReportData& data)
{
    QString name = data.title;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("-"));
    return name + u' ' + data.printed.toString(Qt::ISODate) + QStringLiteral(".pdf");
}

} // namespace

PreviewDialog::PreviewDialog(const ReportData& data, QWidget* parent) : QDialog(parent), m_data(data)
{
    setObjectName(QStringLiteral("TNahledSestavy"));
    setWindowTitle(QStringLiteral("Náhled sestavy – %1").arg(m_data.title));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);

    ReportPainter::setUpPrinter(m_printer, m_data);
    m_preview = new QPrintPreviewWidget(&m_printer, this);
    m_preview->setObjectName(QStringLiteral("Nahled"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        // Nothing may leave a slot; an unfinished page is all the user sees of a fault.
        try {
            m_painter.paint(*printer);
        } catch (...) {
        }
    });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &PreviewDialog::showPosition);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto add = [&](const char* name, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("Akce_Tisk", QStringLiteral("Tisk…"), QKeySequence::Print, &PreviewDialog::printReport);
    add("Akce_UlozitPdf", QStringLiteral("Uložit PDF…"), QKeySequence::Save, &PreviewDialog::savePdf);
    bar->addSeparator();
    add("Akce_Predchozi", QStringLiteral("◀ Předchozí"), QKeySequence(Qt::Key_PageUp),
        [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    m_position = new QLabel(bar);
    m_position->setObjectName(QStringLiteral("La_Strana"));
    m_position->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_position);
    add("Akce_Dalsi", QStringLiteral("Další ▶"), QKeySequence(Qt::Key_PageDown),
        [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    bar->addSeparator();
    add("Akce_CelaStrana", QStringLiteral("Celá stránka"), QKeySequence(),
        [this] { m_preview->fitInView(); });
    add("Akce_NaSirku", QStringLiteral("Na šířku"), QKeySequence(), [this] { m_preview->fitToWidth(); });
    add("Akce_Zvetsit", QStringLiteral("Zvětšit"), QKeySequence::ZoomIn, [this] { m_preview->zoomIn(); });
    add("Akce_Zmensit", QStringLiteral("Zmenšit"), QKeySequence::ZoomOut, [this] { m_preview->zoomOut(); });
    bar->addSeparator();
    add("Akce_Zavrit", QStringLiteral("Zavřít"), QKeySequence(), [this] { reject(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_preview, 1);

    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 900);
    resize(qMin(screen.width() * 9 / 10, m_data.orientation == Orientation::Landscape ? 1200 : 900),
           screen.height() * 9 / 10);
    m_preview->fitToWidth();
}

void PreviewDialog::render()
{
    m_preview->updatePreview();
    showPosition();
}

int PreviewDialog::pageCount() const
{
    return m_preview->pageCount();
}

void PreviewDialog::showPosition()
{
    m_position->setText(
        QStringLiteral("Strana %1 z %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}

void PreviewDialog::printReport()
{
    try {
        QPrintDialog dialog(&m_printer, this);
        dialog.setWindowTitle(QStringLiteral("Tisk sestavy"));
        if (dialog.exec() == QDialog::Accepted)
            m_preview->print();
    } catch (const std::exception& e) {
        QMessageBox::warning(this, QStringLiteral("Tisk"), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::warning(this, QStringLiteral("Tisk"),
                             QStringLiteral("Sestavu se nepodařilo vytisknout."));
    }
}

void PreviewDialog::savePdf()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit sestavu jako PDF"),
                                                QDir::home().filePath(suggestedFileName(m_data)),
                                                QStringLiteral("Dokument PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QString error;
    try {
        error = renderToPdf(m_data, path);
    } catch (...) {
        error = QStringLiteral("Sestavu se nepodařilo uložit do souboru „%1“.")
                    .arg(QDir::toNativeSeparators(path));
    }
    if (!error.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Uložit PDF"), error);
}

} // namespace pm41
