// Helpers for the GUI tests: pumping the event loop until something holds.
#pragma once

#include <wx/wx.h>

#include <chrono>
#include <functional>

// Processes pending, yielded and idle events for about `ms` milliseconds.
void PumpEvents(int ms = 50);
// Pumps events until `done` holds or `timeoutMs` passes; returns whether it held.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000);

// Runs `script` on a helper thread (a user at the X server) while this thread handles
// events, until the script ends or `timeoutMs` passes; whether it ended in time. The
// script always runs to its end before this returns.
bool RunAlongside(const std::function<void()>& script, int timeoutMs = 60000);
