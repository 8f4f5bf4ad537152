#include "ReportEngine.h"

#include "report/PageLayout.h"
#include "report/ReportError.h"
#include "report/ReportPainter.h"
#include "report/TemplateParser.h"
#include "ui/PreviewDialog.h"

#include "helpers/SafeFile.h"

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>

namespace pm41 {

namespace {

// Decodes the file line by line, so a byte that is not UTF-8 is reported at its line.
QString decodeUtf8(const QByteArray& bytes)
{
    QString text;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = decoder.decode(lines[i]);
        if (decoder.hasError())
            fail(i + 1, QStringLiteral("text není v kódování UTF-8; uložte předlohu jako UTF-8."));
        if (i > 0)
            text += u'\n';
        text += line;
    }
    return text;
}

} // namespace

QString TemplateFile::fileName() const
{
    return QFileInfo(path).fileName();
}

QString parseTemplate(const QString& text, Template& out)
{
    try {
        out = parseTemplateText(text);
        return {};
    } catch (const ReportError& e) {
        return e.text();
    }
}

QString loadTemplate(const QString& path, Template& out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Předlohu „%1“ nelze otevřít: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return parseTemplateBytes(file.readAll(), out);
}

QString parseTemplateBytes(const QByteArray& bytes, Template& out)
{
    try {
        out = parseTemplateText(decodeUtf8(bytes));
        return {};
    } catch (const ReportError& e) {
        return e.text();
    }
}

QList<TemplateFile> listTemplates(const QString& directory)
{
    QList<TemplateFile> files;
    const QFileInfoList found =
        QDir(directory).entryInfoList({QStringLiteral("*.sestava")}, QDir::Files, QDir::Name);
    for (const QFileInfo& info : found) {
        TemplateFile file;
        file.path = info.absoluteFilePath();
        file.error = loadTemplate(file.path, file.report);
        files << file;
    }
    QCollator czech{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    std::stable_sort(files.begin(), files.end(), [&](const TemplateFile& a, const TemplateFile& b) {
        return czech.compare(a.shownTitle(), b.shownTitle()) < 0;
    });
    return files;
}

QString runReport(const Template& t, const UserData& user, const ParameterValues& values,
                  const QSqlDatabase& connection, ReportData& out, const QDate& today)
{
    try {
        out = runTemplate(t, user, values, connection, today);
        return {};
    } catch (const ReportError& e) {
        return e.text();
    }
}

QString renderToPdf(const ReportData& data, const QString& pdfPath, int* pageCount)
{
    const auto failed = [&](const QString& reason) {
        return QStringLiteral("Soubor „%1“ nelze zapsat: %2").arg(QDir::toNativeSeparators(pdfPath), reason);
    };
    // The printer writes wherever it is told, piece by piece; it paints into a scratch file,
    // and the finished document replaces the chosen file whole, as every file the program
    // writes does.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return failed(scratch.errorString());
    const QString painted = scratch.filePath(QStringLiteral("sestava.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(painted);
    ReportPainter::setUpPrinter(printer, data);
    const int pages = ReportPainter(data).paint(printer);
    if (pageCount)
        *pageCount = pages;
    QFile document(painted);
    if (pages == 0 || !document.open(QIODevice::ReadOnly))
        return failed(document.errorString());
    if (const std::optional<QString> failure = SafeFile::writeWhole(pdfPath, document.readAll()))
        return failed(*failure);
    return {};
}

QString renderReportToPdf(const QString& templatePath, const QString& parameterText,
                          const QSqlDatabase& connection, const QString& pdfPath, ReportData* data,
                          int* pageCount, const ParameterValues& values)
{
    UserData user;
    QString error = parseParameterText(parameterText, user);
    Template t;
    if (error.isEmpty())
        error = loadTemplate(templatePath, t);
    ReportData report;
    if (error.isEmpty())
        error = runReport(t, user, values, connection, report);
    if (error.isEmpty())
        error = renderToPdf(report, pdfPath, pageCount);
    if (data)
        *data = report;
    return error;
}

QList<LetterPage> layOutLetters(const ReportData& data)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    ReportPainter::setUpPrinter(printer, data);
    return paginateLetters(data, PageMetrics(printer, data.fontSize));
}

int openAndClosePreview(const ReportData& data)
{
    PreviewDialog preview(data);
    preview.render();
    preview.show();
    QApplication::processEvents();
    const int pages = preview.pageCount();
    preview.close();
    return pages;
}

} // namespace pm41
