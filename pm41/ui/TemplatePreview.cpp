#include "ui/TemplatePreview.h"

#include "ReportEngine.h"
#include "report/ProgramValues.h"
#include "ui/Messages.h"
#include "ui/PreviewDialog.h"
#include "ui/WaitCursor.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace pm41 {

namespace {

// The report ready for its preview, or the message why there is none.
QString prepare(const TemplatePreviewSetup& setup, ReportData& data)
{
    UserData user;
    if (const QString error = parseParameterText(setup.parameterText, user); !error.isEmpty())
        return programDataFaultText(error);
    ParameterValues values;
    if (const QString error = parseProgramValues(setup.programValues, values); !error.isEmpty())
        return programDataFaultText(error);
    const QFileInfo file(setup.templatePath);
    if (!file.isFile())
        return QStringLiteral("Předloha sestavy „%1“ neexistuje.")
            .arg(QDir::toNativeSeparators(setup.templatePath));
    Template t;
    if (const QString error = loadTemplate(setup.templatePath, t); !error.isEmpty())
        return templateFaultText(file.fileName(), error);
    QString error = checkProgramValues(t, values);
    if (error.isEmpty())
        error = runReport(t, user, values, setup.connection, data);
    return error.isEmpty() ? QString() : reportFaultText(t.title, error);
}

} // namespace

int showTemplatePreview(const TemplatePreviewSetup& setup, QWidget* parent)
{
    try {
        WaitCursor wait;
        ReportData data;
        const QString error = prepare(setup, data);
        wait.release();
        if (!error.isEmpty()) {
            showFault(parent, error);
            return -1;
        }
        if (data.rows.isEmpty()) {
            QMessageBox::information(parent, generatorCaption(),
                                     QStringLiteral("Sestava „%1“ neobsahuje žádné záznamy, a tak není co "
                                                    "tisknout.")
                                         .arg(data.title));
            return 1;
        }
        PreviewDialog preview(data, parent);
        preview.render();
        preview.exec();
        return 0;
    } catch (const std::exception& e) {
        showFault(parent, failureText(&e));
    } catch (...) {
        showFault(parent, failureText(nullptr));
    }
    return -1;
}

} // namespace pm41
