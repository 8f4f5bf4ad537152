#pragma once

#include <QString>

// Texts compared without regard to letter case and accents: "Novák" is found by "novak". The letters of
// Latin-1 and Latin Extended-A lose their accents; other letters stay.
namespace TextFolding {

QString fold(const QString& text);

} // namespace TextFolding
