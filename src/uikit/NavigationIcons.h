#pragma once

#include <QIcon>

// The four pictures of the navigation commands, drawn on a transparent background:
// 0 a bar and a left-pointing triangle (first), 1 a left-pointing triangle (prior),
// 2 a right-pointing triangle (next), 3 a right-pointing triangle and a bar (last).
QIcon navigationIcon(int index);
