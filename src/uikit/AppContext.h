#pragma once

#include "helpers/IniFile.h"
#include "helpers/Settings.h"
#include "store/Connection.h"
#include "store/StoreOperations.h"

#include <QList>

class QWidget;

// Where a dialog opens within one run of the program; -1 means "its own default".
struct Placement
{
    int left = -1;
    int top = -1;
    int width = -1;
    int height = -1;
    QList<int> columnWidths;

    // Places and sizes the window as remembered, with its own default size where nothing is.
    void applyTo(QWidget* window, const QSize& defaultSize) const;
    // Remembers where the window stands and how large it is.
    void takeFrom(const QWidget* window);
    // The remembered width of a column, or its default.
    int columnWidth(int column, int defaultWidth) const;
};

// The run state the main window owns and shares with every window it opens: the program
// directory, the settings in force, where two dialogs open, and the one database connection
// with its store operations.
class AppContext
{
public:
    explicit AppContext(const QString& programDirectory);

    QString AdresarProgramu; // ends with the path separator
    Settings settings;
    Placement PoziceCiselnikuZakazniku;
    Placement PoziceOtevritZakaznika;

    Connection connection{QStringLiteral("ADOConnection1")};
    StoreOperations store{connection};

    QString path(const QString& name) const { return AdresarProgramu + name; }
    IniFile settingsFile() const { return IniFile(path(QStringLiteral("Vestibor.ini"))); }
};
