#pragma once

#include <QSqlDatabase>
#include <QString>

class QWidget;

namespace pm41 {

// What the program hands over to show one report at once.
struct TemplatePreviewSetup
{
    QString templatePath; // full path
    QString parameterText;
    QString programValues; // "Name|value|…", may be empty
    QSqlDatabase connection;
};

// The print preview of one template straight away, without the list of reports; its own
// parameters take their defaults. Every fault is a message box over the parent. Returns 0
// when the preview was shown, 1 when the report had no rows (a message said so), -1 when it
// could not be shown.
int showTemplatePreview(const TemplatePreviewSetup& setup, QWidget* parent);

} // namespace pm41
