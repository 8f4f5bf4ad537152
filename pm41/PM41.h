#pragma once

// The report generator PM41: the entry points the program binds by name, and the preview of
// one template that the revision plan's letters use.

#include <cstdint>

class QCoreApplication;
class QSqlDatabase;

#define PM41_API __attribute__((visibility("default")))

extern "C" {

// Shows the generator's modal window over the program: the reports found in the templates
// directory (relative to the program directory unless absolute), their parameters and
// their print preview. parameterText is "NazevSubjektu|…|OdpovednaOsoba|…|Ulice|…|PSC|…|
// Mesto|…|ICO|…|DIC|…|Tel|…|Email|…|WWW|…|OtevrenyZakaznik|<id>"; reserved is always -1;
// closeAfterChoice is -1 to close the window once a report's preview has been closed, 0 to
// go back to the list. The data is read through the program's open connection, never
// written. Returns 0, or -1 when the window could not be shown; nothing is ever thrown.
PM41_API int SestavaUNI(QCoreApplication* application, const char16_t* templatesDirectory,
                        const char16_t* parameterText, int reserved, int32_t closeAfterChoice,
                        QSqlDatabase* connection);

// Shows the print preview of one template at once, without the list of reports: its
// prompted parameters take their defaults. extraParameters is "Name|value|Name|value"
// (may be empty or null): further values the query reads as :Name, as text.
// Returns 0 when the preview was shown, 1 when the report ran but had no rows (a message
// said so), -1 when it could not be shown (a message said why: missing/faulty template,
// query refused, no widget application).
PM41_API int pm41PreviewTemplate(QCoreApplication* application, const char16_t* templatePath,
                                 const char16_t* parameterText, const char16_t* extraParameters,
                                 QSqlDatabase* connection);

// The library's version designation, such as u"1.0"; the text stays valid for the whole run.
PM41_API const char16_t* OznaceniVerzeDLL(void);
}
