#pragma once

#include "report/Template.h"

namespace pm41 {

struct TemplateSection;

// Reads the lines of [adresat], [uvod] or [zaver]: written text with placeholders {name};
// "{{" and "}}" stand for the braces themselves. A brace left open or a placeholder that is
// no name is a ReportError with its line.
LetterText readLetterText(const TemplateSection& section);

} // namespace pm41
