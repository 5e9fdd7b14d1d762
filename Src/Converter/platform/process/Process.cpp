#include "platform/process/Process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

int CurrentProcessId() { return static_cast<int>(getpid()); }

unsigned EffectiveUserId() { return static_cast<unsigned>(geteuid()); }

void SleepMilliseconds(int milliseconds) {
  timespec left{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {}
}

void IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

void ExitNow(int code) { _exit(code); }
