#pragma once

class RequestContext;

// GET /api/hledat: a serial number or barcode of exactly one card goes straight to it; else
// the customers whose name, contact person, town, street or phone holds the text, without
// regard to letter case and accents.
namespace SearchHandler {
constexpr int MostCustomers = 50;
void get(RequestContext& context);
} // namespace SearchHandler
