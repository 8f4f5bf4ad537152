#pragma once

#include <QString>

class QWidget;

// Types text key by key, Czech letters included (QTest::keyClicks only takes ASCII).
void typeText(QWidget* widget, const QString& text);

// Shows a window and makes it the active one, so that focus changes take effect offscreen.
void showActive(QWidget* window);
