#pragma once

// The library hides everything but its C entry points; what its own tests and the
// timing tool call besides is marked with this.
#define PM41_EXPORT __attribute__((visibility("default")))
