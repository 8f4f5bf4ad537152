#pragma once

#include "codelists/CodeListDefinitions.h"
#include "codelists/SmallCodeListWindow.h"

class TCisTechniku : public SmallCodeListWindow
{
    Q_OBJECT
public:
    TCisTechniku(AppContext& context, QWidget* parent)
        : SmallCodeListWindow(context, CodeListDefinitions::technicians(), parent)
    {
    }
};
