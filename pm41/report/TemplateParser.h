#pragma once

#include "report/Template.h"

namespace pm41 {

// Reads a template from its text. The format is strict: an unknown section or key, a bad
// value or a query that cannot be bound is a ReportError with the line it stands on.
Template parseTemplateText(const QString& text);

// Lower case without diacritics and with single spaces: keys and listed values are compared
// in this form, so "Název" and "nazev" are one key.
QString foldText(const QString& text);

} // namespace pm41
