// Starting Brindlemark.exe and collecting its end. With arguments the child is forked,
// stops itself before exec so the launcher can build the rendezvous named after its
// process id, and execs once continued; it gets SIGTERM when the launcher dies. Without
// arguments it starts in a session of its own and is left to run. An exec failure comes
// back through a close-on-exec pipe.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  // Forks a child that stops itself, then waits until it has stopped. False (and no
  // child left behind) when the fork failed or the child did not reach its stop.
  bool StartStopped(const std::string& path, const std::vector<std::string>& arguments);
  // Continues the stopped child; false when its exec failed (the child is then reaped)
  // or there is no child.
  bool Continue();
  // Starts the child detached (setsid) without waiting for it; false when it could not
  // be started.
  bool StartDetached(const std::string& path, const std::vector<std::string>& arguments);
  // Kills and reaps the child, for a child that must not run.
  void Kill();
  // Waits for the child's end: its exit status, or 128 + the signal that killed it; 1
  // when there is no child.
  int Wait();

  pid_t pid() const { return pid_; }

 private:
  bool Fork(const std::string& path, const std::vector<std::string>& arguments, bool stopped);
  bool ExecSucceeded();

  pid_t pid_ = -1;
  int execStatusFd_ = -1;  // read end; end of file without data means the exec succeeded
};

// Passes SIGINT, SIGTERM, SIGHUP and SIGQUIT received by the launcher on to the child, so
// that the launcher outlives it and still cleans up and reports its end.
void ForwardTerminationSignals(pid_t child);
