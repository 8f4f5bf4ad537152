#pragma once

class QAbstractButton;

// Enter on the focused button presses it, as in every dialog of the system, also for a
// button that must not become a dialog's default one (so that Enter in a field does not
// press it).
void pressOnEnter(QAbstractButton* button);
