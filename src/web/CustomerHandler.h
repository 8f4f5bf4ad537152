#pragma once

#include <QJsonObject>

#include <optional>

class RequestContext;

// GET /api/zakaznici/<id>: the customer and his cards with their next revision.
namespace CustomerHandler {
// What it answers; nothing when there is no such customer.
std::optional<QJsonObject> document(RequestContext& context, qint64 id);
void get(RequestContext& context);
} // namespace CustomerHandler
