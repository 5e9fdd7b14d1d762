#include "platform/TempFileCleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace {

// The handler reads the path only while `noted` is set; the main thread clears the
// flag before it changes the path.
char notedPath[PATH_MAX];
volatile sig_atomic_t noted = 0;

void OnSignal(int signal) {
  if (noted) unlink(notedPath);
  ::signal(signal, SIG_DFL);
  raise(signal);
}

}  // namespace

void RemoveTempFileOnSignal() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void NoteTempFile(const std::string& path) {
  noted = 0;
  if (path.size() >= sizeof notedPath) return;
  std::memcpy(notedPath, path.c_str(), path.size() + 1);
  noted = 1;
}

void ForgetTempFile() { noted = 0; }
