#pragma once

#include "codelists/CodeListSpec.h"

// The three small code lists.
namespace CodeListSpecs {
const CodeListSpec& activityKinds();
const CodeListSpec& categories();
const CodeListSpec& technicians();
} // namespace CodeListSpecs
