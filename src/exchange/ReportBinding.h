#pragma once

#include <QList>
#include <QString>
#include <functional>

class AppContext;
class QSqlDatabase;
struct Settings;

// The call of the report generator library.
namespace ReportBinding {

// The "|"-separated parameter text: the ten values of the user's data by name, then the
// open customer's id. Values are inserted as they are.
QString parameterText(const Settings& settings, int openCustomerId);

// What the program hands to the library, in the order of its arguments.
struct Call
{
    QString templatesDirectory; // the full path of "Ses" in the program directory the program works in
    QString parameters;
    int reserved = -1;
    int closeAfterChoice = 0; // -1 when the form closes after a report has been chosen
    QSqlDatabase* connection = nullptr;
};

// Runs the generator (the library's SestavaUNI); tests put in their own.
using Launcher = std::function<void(const Call&)>;
Launcher setLauncher(Launcher launcher); // an empty one restores the library; returns the previous

// The print command: refuses a missing template directory, then calls the generator.
void showReportGenerator(AppContext& context, int openCustomerId);

// The template of the reminder letters in the templates directory.
QString reminderTemplateName(); // "upozorneni_na_revizi.sestava"

// One template straight to the generator's preview (the library's pm41PreviewTemplate).
struct PreviewCall
{
    QString templatePath;    // the template file's full path
    QString parameters;      // as for the print command
    QString extraParameters; // "Name|value|…"
    QSqlDatabase* connection = nullptr;
};
// Returns 0 when the preview was shown, 1 when there was nothing to show, -1 when it could
// not be shown (the generator has said why).
using PreviewLauncher = std::function<int(const PreviewCall&)>;
PreviewLauncher setPreviewLauncher(PreviewLauncher launcher); // empty restores the library

// Reminder letters for the cards, one per customer, in the generator's preview; true when
// the preview was shown.
bool printReminderLetters(AppContext& context, int openCustomerId, const QList<int>& cardIds);

// "PM41  " and the library's version designation, for the About window.
QString moduleVersionText();

} // namespace ReportBinding
