#include "web/RouteTable.h"

#include "web/AccountHandlers.h"
#include "web/ActivityHandlers.h"
#include "web/CardHandlers.h"
#include "web/CodeListHandler.h"
#include "web/CustomerHandler.h"
#include "web/DueListHandler.h"
#include "web/SearchHandler.h"
#include "web/TripHandler.h"

#include <QRegularExpression>

namespace RouteTable {

const QList<Route>& routes()
{
    using A = RouteAccess;
    using O = OwnerRule;
    // clang-format off
    static const QList<Route> table{
        // method  path                     access           technik office owner                    writes handler
        {"POST", "/api/prihlaseni",        A::Anyone,       true,   true,  O::None,                  true,  AccountHandlers::signIn},
        {"POST", "/api/odhlaseni",         A::SignedIn,     true,   true,  O::None,                  true,  AccountHandlers::signOut},
        {"POST", "/api/heslo",             A::SignedIn,     true,   true,  O::None,                  true,  AccountHandlers::changePassword},
        {"GET",  "/api/ucet",              A::SignedIn,     true,   true,  O::None,                  false, AccountHandlers::get},
        {"GET",  "/api/ciselniky",         A::PasswordKept, true,   true,  O::None,                  false, CodeListHandler::get},
        {"GET",  "/api/revize",            A::PasswordKept, true,   true,  O::None,                  false, DueListHandler::get},
        {"GET",  "/api/hledat",            A::PasswordKept, true,   true,  O::None,                  false, SearchHandler::get},
        {"GET",  "/api/zakaznici/#",       A::PasswordKept, true,   true,  O::None,                  false, CustomerHandler::get},
        {"GET",  "/api/karty/#",           A::PasswordKept, true,   true,  O::None,                  false, CardHandlers::get},
        {"GET",  "/api/na-cestu",          A::PasswordKept, true,   true,  O::None,                  false, TripHandler::get},
        {"POST", "/api/karty",             A::PasswordKept, true,   true,  O::None,                  true,  CardHandlers::add},
        {"POST", "/api/cinnosti",          A::PasswordKept, true,   true,  O::None,                  true,  ActivityHandlers::add},
        {"PUT",  "/api/cinnosti/#",        A::PasswordKept, true,   true,  O::OwnActivityOfToday,    true,  ActivityHandlers::correct},
    };
    // clang-format on
    return table;
}

namespace {

// The id of a path that has the pattern's form, or -1; 0 for a pattern without one.
qint64 matchPath(const QString& pattern, const QString& path)
{
    const qsizetype hash = pattern.indexOf(u'#');
    if (hash < 0)
        return pattern == path ? 0 : -1;
    if (!path.startsWith(QStringView(pattern).left(hash)))
        return -1;
    const QStringView id = QStringView(path).mid(hash);
    static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{0,17}$"));
    if (!digits.match(id).hasMatch())
        return -1;
    return id.toLongLong();
}

} // namespace

Match find(const QString& method, const QString& path)
{
    Match m;
    for (const Route& route : routes()) {
        const qint64 id = matchPath(QLatin1String(route.pattern), path);
        if (id < 0)
            continue;
        m.pathKnown = true;
        if (method == QLatin1String(route.method)) {
            m.route = &route;
            m.id = id;
            return m;
        }
    }
    return m;
}

} // namespace RouteTable
