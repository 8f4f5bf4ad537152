#pragma once

#include <QList>
#include <QRect>

class IniFile;

// Section PlanRevizi of the settings file: how many days ahead the plan looks by default,
// and where its window stood with which column widths when the user last closed it.
struct PlanSettings
{
    static constexpr int DefaultDnyPredem = 30;

    int DnyPredem = DefaultDnyPredem;
    QRect geometry; // empty: the window's own default place and size
    QList<int> columnWidths;

    static PlanSettings read(const IniFile& file);
    // The window's keys only; DnyPredem is the user's to set in the file.
    void writePlacement(const IniFile& file) const;
};
