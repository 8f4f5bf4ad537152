#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page of the program's files (settings, password text, CSV): Windows-1250.
// A character the code page cannot hold becomes "?", as the system's own conversion does.
namespace Cp1250 {

QByteArray encode(QStringView text);
QString decode(const QByteArray& bytes);

} // namespace Cp1250
