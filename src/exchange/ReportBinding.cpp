#include "exchange/ReportBinding.h"

#include "PM41.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QSqlDatabase>

namespace ReportBinding {

namespace {

void callLibrary(const Call& call)
{
    SestavaUNI(QCoreApplication::instance(),
               reinterpret_cast<const char16_t*>(call.templatesDirectory.utf16()),
               reinterpret_cast<const char16_t*>(call.parameters.utf16()), call.reserved,
               call.closeAfterChoice, call.connection);
}

Launcher& launcher()
{
    static Launcher current = callLibrary;
    return current;
}

int callPreview(const PreviewCall& call)
{
    return pm41PreviewTemplate(
        QCoreApplication::instance(), reinterpret_cast<const char16_t*>(call.templatePath.utf16()),
        reinterpret_cast<const char16_t*>(call.parameters.utf16()),
        reinterpret_cast<const char16_t*>(call.extraParameters.utf16()), call.connection);
}

PreviewLauncher& previewLauncher()
{
    static PreviewLauncher current = callPreview;
    return current;
}

bool templatesDirectoryPresent(const AppContext& context)
{
    const QString templates = context.path(QStringLiteral("Ses"));
    if (QFileInfo(templates).isDir())
        return true;
    ShowInfo(QStringLiteral("Upozornění"),
             QStringLiteral("Generátor sestav nelze spustit, nebyl nalezen adresář předloh \"") + templates +
                 QStringLiteral("\"."));
    return false;
}

} // namespace

QString parameterText(const Settings& settings, int openCustomerId)
{
    QStringList parts;
    for (int i = 0; i < Settings::userDataKeys().size(); ++i)
        parts << Settings::userDataKeys()[i] << *settings.userDataValue(i);
    parts << QStringLiteral("OtevrenyZakaznik") << QString::number(openCustomerId);
    return parts.join(u'|');
}

Launcher setLauncher(Launcher replacement)
{
    Launcher previous = launcher();
    launcher() = replacement ? std::move(replacement) : Launcher(callLibrary);
    return previous;
}

void showReportGenerator(AppContext& context, int openCustomerId)
{
    if (!templatesDirectoryPresent(context))
        return;
    QSqlDatabase database = context.connection.database();
    Call call;
    // The full path: the library resolves a bare name against the directory of the executable,
    // which is not the program directory when one was chosen at start-up.
    call.templatesDirectory = context.path(QStringLiteral("Ses"));
    call.parameters = parameterText(context.settings, openCustomerId);
    call.reserved = -1;
    call.closeAfterChoice = context.settings.ZaviratFrmTisk ? -1 : 0;
    call.connection = &database;
    launcher()(call);
}

PreviewLauncher setPreviewLauncher(PreviewLauncher replacement)
{
    PreviewLauncher previous = previewLauncher();
    previewLauncher() = replacement ? std::move(replacement) : PreviewLauncher(callPreview);
    return previous;
}

QString reminderTemplateName()
{
    return QStringLiteral("upozorneni_na_revizi.sestava");
}

bool printReminderLetters(AppContext& context, int openCustomerId, const QList<int>& cardIds)
{
    if (cardIds.isEmpty() || !templatesDirectoryPresent(context))
        return false;
    const QString templatePath = QStringLiteral("Ses/") + reminderTemplateName();
    if (!QFileInfo(context.path(templatePath)).isFile()) {
        ShowInfo(QStringLiteral("Upozornění"),
                 QStringLiteral("Předloha dopisu „%1“ nebyla nalezena.").arg(context.path(templatePath)));
        return false;
    }
    QStringList ids;
    for (const int id : cardIds)
        ids << QString::number(id);
    QSqlDatabase database = context.connection.database();
    PreviewCall call;
    call.templatePath = context.path(templatePath);
    call.parameters = parameterText(context.settings, openCustomerId);
    call.extraParameters = QStringLiteral("Zdroje|") + ids.join(u',');
    call.connection = &database;
    return previewLauncher()(call) == 0;
}

QString moduleVersionText()
{
    const char16_t* version = OznaceniVerzeDLL();
    return QStringLiteral("PM41  ") + (version ? QString::fromUtf16(version) : QString());
}

} // namespace ReportBinding
