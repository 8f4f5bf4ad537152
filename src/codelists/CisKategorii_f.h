#pragma once

#include "codelists/CodeListFamily.h"

class TCisKategorii : public TCiselnik
{
    Q_OBJECT
public:
    TCisKategorii(AppContext& context, QWidget* parent)
        : TCiselnik(context, CodeListSpecs::kategorie(), parent)
    {
    }
};
