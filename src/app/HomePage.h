#pragma once

#include <QString>

// The address of the program's home page, shown in the About window and opened by the
// home-page command (with "http://" in front).
inline const QString HomePageAddress = QStringLiteral("www.vestibor.cz");
