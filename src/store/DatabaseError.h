#pragma once

#include "helpers/AppError.h"

// The database engine refused a statement; the text is the engine's own.
class DatabaseError : public AppError
{
public:
    using AppError::AppError;
};
