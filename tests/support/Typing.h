#pragma once

#include <QString>

class QWidget;

// Types text key by key, Czech letters included (QTest::keyClicks only takes ASCII).
void typeText(QWidget* widget, const QString& text);
