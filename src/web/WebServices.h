#pragma once

#include "web/CustomerSearchIndex.h"
#include "web/SignInThrottle.h"
#include "web/WebDatabase.h"
#include "web/WebOptions.h"

// What every request of the web app shares: the options, the database, the sign-in throttle,
// the customers' texts of the search and the due list's towns.
struct WebServices
{
    explicit WebServices(WebOptions o) : options(std::move(o)), database(options.openDatabase) {}

    WebOptions options;
    WebDatabase database;
    SignInThrottle throttle;
    CustomerSearchIndex customerSearch;
    // The towns the due list offers to choose from, for the day the list reaches to.
    static constexpr int DueTownsSeconds = 5;
    KeptForSeconds<QStringList> dueListTowns{DueTownsSeconds};
};
