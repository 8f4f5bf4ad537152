#pragma once

#include <QDialog>

// "O programu": the program's version with its build date, the report module's version and
// the home page, built at run time.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    // reportModuleVersion: shown only when not empty.
    AboutWindow(const QString& programVersion, const QString& buildDate, const QString& reportModuleVersion,
                QWidget* parent = nullptr);
};
