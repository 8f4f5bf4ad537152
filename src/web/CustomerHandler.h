#pragma once

class RequestContext;

// GET /api/zakaznici/<id>: the customer and his cards with their next revision.
namespace CustomerHandler {
void get(RequestContext& context);
}
