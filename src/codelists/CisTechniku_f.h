#pragma once

#include "codelists/CodeListSpecs.h"
#include "codelists/SmallCodeListWindow.h"

class TCisTechniku : public SmallCodeListWindow
{
    Q_OBJECT
public:
    TCisTechniku(AppContext& context, QWidget* parent)
        : SmallCodeListWindow(context, CodeListSpecs::technicians(), parent)
    {
    }
};
