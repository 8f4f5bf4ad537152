#pragma once

#include <QJsonObject>

class Connection;
class RequestContext;

// GET /api/ciselniky: the activity kinds, categories with their periods, and technicians.
namespace CodeListHandler {
QJsonObject document(Connection& connection);
void get(RequestContext& context);
} // namespace CodeListHandler
