#pragma once

#include "codelists/CodeListDefinitions.h"
#include "codelists/SmallCodeListWindow.h"

class TCisCinnosti : public SmallCodeListWindow
{
    Q_OBJECT
public:
    TCisCinnosti(AppContext& context, QWidget* parent)
        : SmallCodeListWindow(context, CodeListDefinitions::activityKinds(), parent)
    {
    }
};
