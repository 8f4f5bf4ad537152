#pragma once

class RequestContext;

// GET /api/karty/<id>: a card, its customer, its next revision and its activities newest
// first. POST /api/karty: a new card at a customer's, its period from the category.
namespace CardHandlers {
void get(RequestContext& context);
void add(RequestContext& context);
} // namespace CardHandlers
