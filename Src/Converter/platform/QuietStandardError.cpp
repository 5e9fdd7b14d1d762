#include "platform/QuietStandardError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

namespace {

std::mutex gLock;
int gGuards = 0;  // guards alive
int gSaved = -1;  // the real standard error while it is pointed elsewhere

}  // namespace

QuietStandardError::QuietStandardError() {
  const std::lock_guard<std::mutex> lock(gLock);
  if (gGuards++ > 0) return;
  std::fflush(stderr);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  gSaved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  if (gSaved >= 0) dup2(null, STDERR_FILENO);
  close(null);
}

QuietStandardError::~QuietStandardError() {
  const std::lock_guard<std::mutex> lock(gLock);
  if (--gGuards > 0 || gSaved < 0) return;
  std::fflush(stderr);
  dup2(gSaved, STDERR_FILENO);
  close(gSaved);
  gSaved = -1;
}
