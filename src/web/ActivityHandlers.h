#pragma once

class RequestContext;

// POST /api/cinnosti: a new activity on a card, its next revision worked out here.
// PUT /api/cinnosti/<id>: a correction, saved only when the row is still as it was read.
namespace ActivityHandlers {
void add(RequestContext& context);
void correct(RequestContext& context);
} // namespace ActivityHandlers
