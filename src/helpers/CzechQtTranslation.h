#pragma once

// Qt's own texts in Czech (dialog buttons, the command-line parser's headings and errors),
// from Qt's translations. Without them installed, Qt's texts stay English.
void installCzechQtTranslation();
