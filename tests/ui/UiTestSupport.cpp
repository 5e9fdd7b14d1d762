#include "UiTestSupport.h"

#include <atomic>
#include <thread>

namespace {

void PumpOnce() {
  wxTheApp->Yield(true);
  wxTheApp->ProcessPendingEvents();
  wxTheApp->ProcessIdle();
}

}  // namespace

void PumpEvents(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    PumpOnce();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    PumpOnce();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool RunAlongside(const std::function<void()>& script, int timeoutMs) {
  std::atomic<bool> ended{false};
  std::thread user([&] {
    script();
    ended = true;
  });
  const bool inTime = WaitFor([&] { return ended.load(); }, timeoutMs);
  while (!ended) PumpEvents(50);  // the script may wait for the window to answer
  user.join();
  return inTime;
}
