#pragma once

// A window's timer, delivered as the program's procedures expect it: a tick runs its handler
// only once the window has loaded, and never while the same timer's previous tick is still
// running. A box or dialog that the load or a tick opens runs the event loop until it is
// answered, and the timer goes on firing behind it; a tick then would start the same work again
// inside the unfinished one, each with a box of its own. Such a tick is dropped, not queued:
// the timer fires again at its interval.

#include <QTimer>

#include <functional>

namespace platform {

class Form;

// Connects `timer`'s ticks to `handler` under the rule above, for as long as `window` lives.
void connectTimer(QTimer *timer, Form *window, std::function<void()> handler);

} // namespace platform
