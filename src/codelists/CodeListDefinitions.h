#pragma once

#include "codelists/CodeListDefinition.h"

// The three small code lists.
namespace CodeListDefinitions {
const CodeListDefinition& activityKinds();
const CodeListDefinition& categories();
const CodeListDefinition& technicians();
} // namespace CodeListDefinitions
