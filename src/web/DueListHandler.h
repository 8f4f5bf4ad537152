#pragma once

class RequestContext;

// GET /api/revize: the heating sources due up to today and the plan's days ahead, by the
// revision plan's own rule (cards in service of the customers whose revisions are watched,
// by their kept next revision), ordered by town, street and customer; one town on request.
// A page at a time (`od`, the place of its first row), with the count of the whole list,
// how many of it are overdue and the towns it covers.
namespace DueListHandler {
void get(RequestContext& context);
}
