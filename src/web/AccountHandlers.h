#pragma once

class RequestContext;

// Signing in and out, the change of the password, and the signed-in account.
namespace AccountHandlers {
void signIn(RequestContext& context);         // POST /api/prihlaseni
void signOut(RequestContext& context);        // POST /api/odhlaseni
void changePassword(RequestContext& context); // POST /api/heslo
void get(RequestContext& context);            // GET /api/ucet
} // namespace AccountHandlers
