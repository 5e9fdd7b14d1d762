// Brindlemark.com: the console face of Brindlemark.exe. With arguments it starts the
// program beside it with the same arguments (re-quoted), relays the program's output and
// error through the rendezvous FIFOs to its own, and ends with the program's exit code.
// Without arguments it starts the program as a window and ends at once.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ChildCommand.h"
#include "ChildProcess.h"
#include "ConsolePipes.h"
#include "Relay.h"

namespace {

// Time left to a child's writers after its end before unconnected relays are stopped.
constexpr std::chrono::milliseconds kGracePeriod{200};

int Fail(const char* message) {
  std::fputs(message, stderr);
  std::fputs("\n", stderr);
  std::fflush(stderr);
  return 1;
}

int ProcessError() {
  return Fail(
      "ERROR: Could not create process. Please ensure Brindlemark.exe is at the same "
      "directory as Brindlemark.com");
}

int PipesError() { return Fail("ERROR: Could not create named pipes."); }

int StartWindow(const std::string& childPath) {
  ChildProcess child;
  return child.StartDetached(childPath, {}) ? 0 : ProcessError();
}

int RunConsole(const std::string& childPath, const std::vector<std::string>& arguments) {
  ChildProcess child;
  if (!child.StartStopped(childPath, ChildArguments(arguments))) return ProcessError();

  ConsolePipes pipes;
  const std::string folder = RendezvousFolder();
  if (!PrepareRendezvousFolder(folder) || !pipes.Create(folder, child.pid())) {
    child.Kill();
    return PipesError();
  }

  std::atomic<bool> stop{false};
  Relay output(pipes.outputFd(), STDOUT_FILENO, stop);
  Relay error(pipes.errorFd(), STDERR_FILENO, stop);
  const bool started = output.Start() && error.Start();
  ForwardTerminationSignals(child.pid());
  if (!started || !child.Continue()) {
    if (!started) child.Kill();  // still stopped: it must not run without its relays
    stop.store(true);
    output.Join();
    error.Join();
    return started ? ProcessError() : PipesError();
  }
  const int exitCode = child.Wait();

  std::this_thread::sleep_for(kGracePeriod);
  stop.store(true);
  output.Join();  // relays that got a writer read on to end of file: nothing is cut
  error.Join();
  pipes.Close();
  pipes.Remove();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // A closed stdout must not kill the launcher: the relay notes the failure and drains on.
  signal(SIGPIPE, SIG_IGN);
  const std::string childPath = ChildPathFor(OwnPath());
  // A missing program is reported before any FIFO exists; exec reports the other failures.
  if (childPath.empty() || access(childPath.c_str(), X_OK) != 0) return ProcessError();
  if (argc <= 1) return StartWindow(childPath);
  return RunConsole(childPath, std::vector<std::string>(argv + 1, argv + argc));
}
