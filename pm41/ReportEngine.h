#pragma once

// The report generator's inner interface, for its tests and its timing tool: reading the
// parameter text and templates, running a report and painting it to PDF. The program itself
// uses only PM41.h.

#include "report/Export.h"
#include "report/Formatting.h"
#include "report/LetterLayout.h"
#include "report/ProgramValues.h"
#include "report/ReportData.h"
#include "report/ReportRunner.h"
#include "report/Template.h"
#include "report/UserData.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>

namespace pm41 {

// Reads a template; the result is empty when it loaded, else "Řádek N: …" naming the line.
PM41_EXPORT QString parseTemplate(const QString& text, Template& out);
// The same for a file, which must be UTF-8, and for the bytes of one.
PM41_EXPORT QString loadTemplate(const QString& path, Template& out);
PM41_EXPORT QString parseTemplateBytes(const QByteArray& bytes, Template& out);

// One file of the template directory: the report, or why it could not be read.
struct PM41_EXPORT TemplateFile
{
    QString path;
    Template report;
    QString error;

    bool ok() const { return error.isEmpty(); }
    QString fileName() const;
    QString shownTitle() const { return ok() ? report.title : fileName(); }
};

// Every *.sestava file of the directory, sorted by title the Czech way.
PM41_EXPORT QList<TemplateFile> listTemplates(const QString& directory);

// Runs a report through the connection. The result is empty when it ran, else a message
// for the user.
PM41_EXPORT QString runReport(const Template& t, const UserData& user, const ParameterValues& values,
                              const QSqlDatabase& connection, ReportData& out,
                              const QDate& today = QDate::currentDate());

// Paints a report into a PDF file; returns the message of a failure, else empty.
PM41_EXPORT QString renderToPdf(const ReportData& data, const QString& pdfPath, int* pageCount = nullptr);

// Everything at once, as the window does it: the template file, the program's parameter
// text, the connection; the computed report is left in *data when given.
PM41_EXPORT QString renderReportToPdf(const QString& templatePath, const QString& parameterText,
                                      const QSqlDatabase& connection, const QString& pdfPath,
                                      ReportData* data = nullptr, int* pageCount = nullptr,
                                      const ParameterValues& values = {});

// The pages of a letter report as they are printed on A4, each with its letter and its
// number within the letter.
PM41_EXPORT QList<LetterPage> layOutLetters(const ReportData& data);

// Opens the preview window on a report without waiting for the user, lets it lay out every
// page and closes it again; returns the pages it showed. For timing the way to the preview.
PM41_EXPORT int openAndClosePreview(const ReportData& data);

} // namespace pm41
