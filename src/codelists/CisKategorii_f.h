#pragma once

#include "codelists/CodeListDefinitions.h"
#include "codelists/SmallCodeListWindow.h"

class TCisKategorii : public SmallCodeListWindow
{
    Q_OBJECT
public:
    TCisKategorii(AppContext& context, QWidget* parent)
        : SmallCodeListWindow(context, CodeListDefinitions::categories(), parent)
    {
    }
};
