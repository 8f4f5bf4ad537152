#pragma once

class RequestContext;

// GET /api/na-cestu?mesto=…&zakaznik=…: what a technician takes along for work without
// signal, the customers of the towns and the customers named, each as the customer's page
// reads it, each of their cards as the card's page reads it with its last activities, and the
// code lists; with the time it was read.
namespace TripHandler {

constexpr int MostTowns = 20;
constexpr int MostCustomers = 500;
constexpr int LastActivities = 5;

void get(RequestContext& context);

} // namespace TripHandler
