#pragma once

class RequestContext;

// GET /api/ciselniky: the activity kinds, categories with their periods, and technicians.
namespace CodeListHandler {
void get(RequestContext& context);
}
