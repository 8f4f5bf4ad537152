#pragma once

#include <QList>
#include <QString>

class RequestContext;

// Who may reach a route.
enum class RouteAccess
{
    Anyone,       // no session needed (signing in)
    SignedIn,     // any session, even one that must change its password first
    PasswordKept, // a session whose one-time password was changed already
};

// Which rows of the route a role may touch.
enum class OwnerRule
{
    None,
    // A technician his own activities of today only; the office every activity.
    OwnActivityOfToday,
};

using RouteHandler = void (*)(RequestContext&);

// One line of the authorization table: every route of the API with the roles allowed and
// the owner rule. The router reads nothing else.
struct Route
{
    const char* method;
    const char* pattern; // "#" stands for a row id
    RouteAccess access;
    bool technician; // role technik allowed
    bool office;     // role kancelar allowed
    OwnerRule owner;
    bool writes; // a write: the Origin must be the app's own and the body JSON
    RouteHandler handler;
};

namespace RouteTable {

const QList<Route>& routes();

struct Match
{
    const Route* route = nullptr; // null: no route of that method and path
    bool pathKnown = false;       // a route has the path, with another method
    qint64 id = 0;                // the row id in the path
};
Match find(const QString& method, const QString& path);

} // namespace RouteTable
