#pragma once

#include "codelists/CodeListFamily.h"

class TCisTechniku : public TCiselnik
{
    Q_OBJECT
public:
    TCisTechniku(AppContext& context, QWidget* parent) : TCiselnik(context, CodeListSpecs::technici(), parent)
    {
    }
};
