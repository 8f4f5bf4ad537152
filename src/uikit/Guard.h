#pragma once

#include <functional>

// Every handler that Qt calls (actions, widget signals, event overrides) runs its work
// through here: an error that no one else handles is shown by the general error report
// with its own text, the action stops and the program goes on. Qt does not carry
// exceptions through its event loop, so none may leave a handler.
bool runGuarded(const std::function<void()>& work);
