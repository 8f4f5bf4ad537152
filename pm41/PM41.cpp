#include "PM41.h"

#include "ReportEngine.h"
#include "ui/GeneratorWindow.h"
#include "ui/TemplatePreview.h"

#include <QApplication>
#include <QDir>
#include <QSqlDatabase>

#include <cstdio>
#include <exception>

namespace {

QString fromUtf16(const char16_t* text)
{
    return text ? QString::fromUtf16(text) : QString();
}

// Paths the program gives are relative to its own directory unless absolute.
QString inProgramDirectory(const QString& path)
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(path));
}

int runGenerator(QCoreApplication* application, const QString& templatesDirectory,
                 const QString& parameterText, bool closeAfterChoice, QSqlDatabase* connection)
{
    // The window needs a widget application; a console host gets nothing shown.
    if (!qobject_cast<QApplication*>(application))
        return -1;
    pm41::GeneratorSetup setup;
    setup.templatesDirectory = inProgramDirectory(templatesDirectory);
    setup.parameterError = pm41::parseParameterText(parameterText, setup.user);
    setup.closeAfterChoice = closeAfterChoice;
    if (connection)
        setup.connection = *connection;
    pm41::GeneratorWindow window(std::move(setup), QApplication::activeWindow());
    window.exec();
    return 0;
}

int runPreview(QCoreApplication* application, const QString& templatePath, const QString& parameterText,
               const QString& extraParameters, QSqlDatabase* connection)
{
    // Without a widget application there is nowhere to show a message either.
    if (!qobject_cast<QApplication*>(application)) {
        std::fprintf(stderr, "PM41: the preview needs a widget application\n");
        return -1;
    }
    pm41::TemplatePreviewSetup setup;
    setup.templatePath = inProgramDirectory(templatePath);
    setup.parameterText = parameterText;
    setup.programValues = extraParameters;
    if (connection)
        setup.connection = *connection;
    return pm41::showTemplatePreview(setup, QApplication::activeWindow());
}

} // namespace

extern "C" int SestavaUNI(QCoreApplication* application, const char16_t* templatesDirectory,
                          const char16_t* parameterText, int reserved, int32_t closeAfterChoice,
                          QSqlDatabase* connection)
{
    // The fourth argument is always -1 and means nothing to this generator.
    Q_UNUSED(reserved)
    try {
        return runGenerator(application, fromUtf16(templatesDirectory), fromUtf16(parameterText),
                            closeAfterChoice != 0, connection);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "PM41: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "PM41: unexpected failure\n");
    }
    return -1;
}

extern "C" int pm41PreviewTemplate(QCoreApplication* application, const char16_t* templatePath,
                                   const char16_t* parameterText, const char16_t* extraParameters,
                                   QSqlDatabase* connection)
{
    try {
        return runPreview(application, fromUtf16(templatePath), fromUtf16(parameterText),
                          fromUtf16(extraParameters), connection);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "PM41: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "PM41: unexpected failure\n");
    }
    return -1;
}

extern "C" const char16_t* OznaceniVerzeDLL(void)
{
    static const char16_t version[] = u"" VESTIBOR_VERSION;
    return version;
}
