#pragma once

#include <QString>

#include <exception>

class QWidget;

namespace pm41 {

// The wording of the generator's messages, the same in its window and in the preview the
// program opens directly.
QString templateFaultText(const QString& fileName, const QString& error);
QString reportFaultText(const QString& title, const QString& error);
QString programDataFaultText(const QString& error);
QString failureText(const std::exception* e); // nullptr: not a known kind of failure

// The window title the generator's messages carry.
QString generatorCaption();

// A fault as a message box over the given window (none: over no window).
void showFault(QWidget* parent, const QString& text);

} // namespace pm41
