// Brindlemark.com: the console face of Brindlemark.exe. With options it starts the
// program beside it with the same argument vector, unchanged, relays the program's output and
// error through the rendezvous FIFOs to its own, and ends with the program's exit code.
// Without options (the program's own rule), or with arguments that only name files and
// folders (a file manager's "Open With"), it starts the program as a window with the same
// arguments and ends at once; without a display it runs the program in place instead, so
// the program's own message reaches the user and its exit code is the launcher's.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ChildCommand.h"
#include "ChildProcess.h"
#include "ConsolePipes.h"
#include "Relay.h"

namespace {

// The longest a relay that is still reading is waited for after the child's end, before
// it is told to stop once its FIFO is empty.
constexpr std::chrono::milliseconds kGracePeriod{200};

// After the child's end its writers are closed, so a connected relay reaches end of file
// as soon as it has read what is left: the grace period is spent only while one is still
// reading, and relays that never got a writer are stopped at once.
void StopRelays(const Relay& output, const Relay& error, StopSignal& stop) {
  const auto reading = [](const Relay& r) { return r.connected() && !r.finished(); };
  const auto deadline = std::chrono::steady_clock::now() + kGracePeriod;
  while ((reading(output) || reading(error)) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  stop.Raise();
}

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

int PipesError(const std::string& folder, const std::string& why) {
  return Fail(("ERROR: Could not create named pipes. Folder " + folder + ": " + why).c_str());
}

// Dispositions inherited from the starter that would break waiting for the child (an
// ignored SIGCHLD makes the kernel reap it, so waitpid fails) go back to their defaults,
// and no signal stays blocked. SIGPIPE is ignored: a closed stdout must not kill the
// launcher; the relay notes the failure and drains on.
void ResetSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(SIGCHLD, &action, nullptr);
  action.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &action, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

int StartWindow(const std::string& childPath, const std::vector<std::string>& arguments) {
  ChildProcess child;
  if (HasDisplay()) return child.StartDetached(childPath, arguments) ? 0 : ProcessError();
  if (!child.StartStopped(childPath, arguments) || !child.Continue()) return ProcessError();
  return child.Wait();
}

int RunConsole(const std::string& childPath, const std::vector<std::string>& arguments) {
  ChildProcess child;
  if (!child.StartStopped(childPath, arguments)) return ProcessError();

  ConsolePipes pipes;
  const std::string folder = RendezvousFolder();
  std::string why;
  if (!PrepareRendezvousFolder(folder, &why)) {
    child.Kill();
    return PipesError(folder, why);
  }
  RemoveAbandonedPipes(folder);
  if (!pipes.Create(folder, child.pid())) {
    child.Kill();
    return PipesError(folder, pipes.failure());
  }

  StopSignal stop;
  Relay output(pipes.outputFd(), STDOUT_FILENO, stop);
  Relay error(pipes.errorFd(), STDERR_FILENO, stop);
  const bool started = stop.ok() && output.Start() && error.Start();
  ForwardTerminationSignals(child.pid());
  if (!started || !child.Continue()) {
    if (!started) child.Kill();  // still stopped: it must not run without its relays
    stop.Raise();
    output.Join();
    error.Join();
    return started ? ProcessError() : PipesError(folder, "the relays could not be started");
  }
  const int exitCode = child.Wait();
  StopRelays(output, error, stop);
  output.Join();
  error.Join();
  pipes.Close();
  pipes.Remove();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  ResetSignals();
  const std::string childPath = ChildPathFor(OwnPath());
  // A missing program is reported before any FIFO exists; exec reports the other failures.
  if (childPath.empty() || access(childPath.c_str(), X_OK) != 0) return ProcessError();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!HoldsOptions(arguments) || NamesOnlyFilesAndFolders(arguments))
    return StartWindow(childPath, arguments);
  return RunConsole(childPath, arguments);
}
