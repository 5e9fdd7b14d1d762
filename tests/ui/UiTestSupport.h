// Helpers for the GUI tests: pumping the event loop until something holds.
#pragma once

#include <wx/wx.h>

#include <chrono>
#include <functional>

// Processes pending, yielded and idle events for about `ms` milliseconds.
void PumpEvents(int ms = 50);
// Pumps events until `done` holds or `timeoutMs` passes; returns whether it held.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000);
