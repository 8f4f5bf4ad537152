#pragma once

#include "web/SignInThrottle.h"
#include "web/WebDatabase.h"
#include "web/WebOptions.h"

// What every request of the web app shares: the options, the database and the sign-in
// throttle.
struct WebServices
{
    explicit WebServices(WebOptions o) : options(std::move(o)), database(options.openDatabase) {}

    WebOptions options;
    WebDatabase database;
    SignInThrottle throttle;
};
