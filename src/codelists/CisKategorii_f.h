#pragma once

#include "codelists/CodeListSpecs.h"
#include "codelists/SmallCodeListWindow.h"

class TCisKategorii : public SmallCodeListWindow
{
    Q_OBJECT
public:
    TCisKategorii(AppContext& context, QWidget* parent)
        : SmallCodeListWindow(context, CodeListSpecs::categories(), parent)
    {
    }
};
