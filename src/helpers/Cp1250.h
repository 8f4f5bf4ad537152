#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page of the program's files (settings, password text, CSV): Windows-1250.
// A character the code page cannot hold becomes "?", as the system's own conversion does
// (one "?" also for a character outside the basic plane).
namespace Cp1250 {

// replaced, when given, grows by the number of characters that became "?".
QByteArray encode(QStringView text, qsizetype* replaced = nullptr);
QString decode(const QByteArray& bytes);

// The first character of the text that the code page cannot hold; empty when there is none.
QString firstUnencodable(QStringView text);

} // namespace Cp1250
