#pragma once

#include "helpers/AppError.h"

// A text that cannot be read as the value a field or a conversion needs.
class ConversionError : public AppError
{
public:
    using AppError::AppError;
};
