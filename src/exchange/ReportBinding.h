#pragma once

#include <QString>
#include <functional>

class AppContext;
class QSqlDatabase;
struct Settings;

// The call of the report generator library.
namespace ReportBinding {

// The "|"-separated parameter text: the ten values of the user's data by name, then the
// open customer's id. Values are inserted as they are.
QString ParametryTisku(const Settings& settings, int openCustomerId);

// What the program hands to the library, in the order of its arguments.
struct Call
{
    QString templatesDirectory; // the name "Ses" alone
    QString parameters;
    int reserved = -1;
    int closeAfterChoice = 0; // -1 when the form closes after a report has been chosen
    QSqlDatabase* connection = nullptr;
};

// Runs the generator (the library's SestavaUNI); tests put in their own.
using Launcher = std::function<void(const Call&)>;
Launcher setLauncher(Launcher launcher); // an empty one restores the library; returns the previous

// The print command: refuses a missing template directory, then calls the generator.
void AkceTisk(AppContext& context);

// "PM41  " and the library's version designation, for the About window.
QString moduleVersionText();

} // namespace ReportBinding
