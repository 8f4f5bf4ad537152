#include "web/SecurityHeaders.h"

#include <httplib.h>

namespace SecurityHeaders {

void add(httplib::Response& response, const std::string& path, bool tls)
{
    const auto set = [&](const char* name, const char* value) {
        response.headers.erase(name);
        response.set_header(name, value);
    };
    // Scripts only our own; 'wasm-unsafe-eval' lets the barcode reader compile its own
    // WebAssembly, and allows no eval of text.
    set("Content-Security-Policy",
        "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; "
        "connect-src 'self'; "
        "frame-ancestors 'none'; base-uri 'none'; form-action 'self'");
    set("X-Content-Type-Options", "nosniff");
    set("Referrer-Policy", "no-referrer");
    if (tls)
        set("Strict-Transport-Security", "max-age=31536000");
    if (path.rfind("/api/", 0) == 0 || !response.has_header("Cache-Control"))
        set("Cache-Control", "no-store");
    response.headers.erase("Server");
}

} // namespace SecurityHeaders
