#pragma once

#include "helpers/AppError.h"

// A change of a web account refused for a reason the user can mend (a login taken, a weak
// password); the text says which.
class AccountError : public AppError
{
public:
    using AppError::AppError;
};
