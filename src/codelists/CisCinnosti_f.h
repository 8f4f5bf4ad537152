#pragma once

#include "codelists/CodeListSpecs.h"
#include "codelists/SmallCodeListWindow.h"

class TCisCinnosti : public SmallCodeListWindow
{
    Q_OBJECT
public:
    TCisCinnosti(AppContext& context, QWidget* parent)
        : SmallCodeListWindow(context, CodeListSpecs::activityKinds(), parent)
    {
    }
};
