#pragma once
#include <functional>

// Blocking calls wait here the way the forms expect: a nested event loop keeps
// timers, port events and the windows running until the condition holds.
// Only one wait may run at a time; a second one started from inside the first
// (a timer or a click served by the nested loop) is refused at once.
enum class WaitResult { Done, Timeout, Busy };

// Returns Done as soon as predicate() is true (checked at once, after every
// WaitNotify() and every pollMs), Timeout after timeoutMs (< 0: no limit),
// Busy when another wait is running.
WaitResult WaitUntil(const std::function<bool()> &predicate, int timeoutMs, int pollMs = 10);

// True while a WaitUntil runs (windows refuse to close, commands refuse to start).
bool IsWaiting();

// Makes the running wait test its predicate now (for example when an answer arrived).
void WaitNotify();
