#pragma once

#include <string>

namespace httplib {
struct Response;
}

// The headers every answer carries, errors too: the content security policy (no inline
// script, no framing), nosniff, no referrer; HSTS over TLS; no caching of the API.
namespace SecurityHeaders {
void add(httplib::Response& response, const std::string& path, bool tls);
}
