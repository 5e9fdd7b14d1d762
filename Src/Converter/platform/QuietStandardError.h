// Keeps what a library prints straight to standard error (libjxl and the AV1 decoder trace
// what they find wrong in a damaged file there) out of sight while it runs. The first guard alive
// points file descriptor 2 at /dev/null, the last one to go points it back; guards on several
// threads share the one redirection. The program's own lines to standard error are written
// while no decoder runs (the skips, before a run converts anything).
#pragma once

class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;
};
