#pragma once

#include <QJsonObject>

#include <optional>

class RequestContext;

// GET /api/karty/<id>: a card, its customer, its next revision and its activities newest
// first. POST /api/karty: a new card at a customer's, its period from the category.
namespace CardHandlers {
// What GET /api/karty/<id> answers, with all activities or the last few (then "cinnosti_dalsi"
// when there are more); nothing when there is no such card.
std::optional<QJsonObject> document(RequestContext& context, qint64 id, int lastActivities);
void get(RequestContext& context);
void add(RequestContext& context);
} // namespace CardHandlers
