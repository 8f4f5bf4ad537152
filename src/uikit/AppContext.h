#pragma once

#include "helpers/IniFile.h"
#include "helpers/Settings.h"
#include "store/Connection.h"
#include "store/StoreOperations.h"

#include <QList>
#include <QObject>
#include <QPointer>

class DataSet;
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
// directory, the settings in force, the open customer, the one database connection with
// its store operations and the data sets of the main window.
class AppContext
{
public:
    explicit AppContext(const QString& programDirectory);

    QString AdresarProgramu; // ends with the path separator
    Settings settings;
    int IdOtevrenehoZakaznika = 0;
    Placement PoziceCiselnikuZakazniku;
    Placement PoziceOtevritZakaznika;

    Connection connection{QStringLiteral("ADOConnection1")};
    StoreOperations store{connection};

    // Owned by the main window.
    QPointer<DataSet> DS_Karty;
    QPointer<DataSet> DS_Cin;
    QPointer<DataSet> DS_Kategorie;
    QPointer<DataSet> DS_Cin2;
    QPointer<QWidget> mainWindow;

    QString path(const QString& name) const { return AdresarProgramu + name; }
    IniFile settingsFile() const { return IniFile(path(QStringLiteral("Vestibor.ini"))); }
};
