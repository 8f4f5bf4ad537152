#pragma once

#include "codelists/CodeListFamily.h"

class TCisCinnosti : public TCiselnik
{
    Q_OBJECT
public:
    TCisCinnosti(AppContext& context, QWidget* parent) : TCiselnik(context, CodeListSpecs::cinnosti(), parent)
    {
    }
};
