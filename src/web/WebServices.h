#pragma once

#include "web/CustomerSearchIndex.h"
#include "web/SignInThrottle.h"
#include "web/WebDatabase.h"
#include "web/WebOptions.h"

// What every request of the web app shares: the options, the database, the sign-in throttle
// and the customers' texts of the search.
struct WebServices
{
    explicit WebServices(WebOptions o) : options(std::move(o)), database(options.openDatabase) {}

    WebOptions options;
    WebDatabase database;
    SignInThrottle throttle;
    CustomerSearchIndex customerSearch;
};
