#include "platform/process/ProcessLimits.h"

#include <sys/prctl.h>
#include <sys/resource.h>

#include <csignal>
#include <initializer_list>

#if defined(__SANITIZE_ADDRESS__)
#define BM_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BM_ADDRESS_SANITIZER 1
#endif
#endif

bool MemoryLimitSupported() {
#ifdef BM_ADDRESS_SANITIZER
  return false;
#else
  return true;
#endif
}

bool LimitOwnMemory(std::int64_t bytes) {
  if (bytes <= 0 || !MemoryLimitSupported()) return false;
  rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  return setrlimit(RLIMIT_DATA, &limit) == 0;
}

void FollowParentLifetime() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signal, SIG_IGN);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
}
