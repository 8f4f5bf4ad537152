#pragma once

#include <QSize>
#include <QString>

class QDialog;
class QWidget;

// The frame of the program's modal windows: a fixed border with only a title and a close
// box. Sets the component name and the title too, and the size when one is given (a window
// that measures its contents fixes its size itself).
void setUpFixedDialog(QDialog& dialog, const QString& objectName, const QString& title, QSize size = QSize());

// A white window background, as the calendar and the About window have.
void paintBackgroundWhite(QWidget& widget);
