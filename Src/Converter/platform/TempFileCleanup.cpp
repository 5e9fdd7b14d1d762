#include "platform/TempFileCleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// The handler reads a path only while its `noted` flag is set; the writer clears the
// flag before it changes the path. Place 0 belongs to NoteTempFile.
constexpr int kNotes = 512;
struct Note {
  char path[PATH_MAX];
  volatile sig_atomic_t noted;
};
Note notes[kNotes];
std::mutex claimMutex;  // guards `claimed`, never taken by the handler
bool claimed[kNotes];

volatile sig_atomic_t deferring = 0;
volatile sig_atomic_t pending = 0;

void RemoveNoted() {
  for (Note& note : notes)
    if (note.noted) unlink(note.path);
}

void OnSignal(int signal) {
  if (deferring && !pending) {
    pending = signal;
    return;
  }
  RemoveNoted();
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void OnFatalSignal(int signal) {
  RemoveNoted();
  ::signal(signal, SIG_DFL);
  raise(signal);  // delivered when the handler returns; a fault then ends the process
}

bool Fill(Note& note, const std::string& path) {
  note.noted = 0;
  if (path.size() >= sizeof note.path) return false;
  std::memcpy(note.path, path.c_str(), path.size() + 1);
  note.noted = 1;
  return true;
}

}  // namespace

void RemoveTempFileOnSignal() {
  deferring = 0;
  pending = 0;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void RemoveTempFilesOnFatalSignals() {
  for (int signal : {SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ, SIGABRT, SIGSEGV, SIGBUS,
                     SIGFPE, SIGILL}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO))
      continue;
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

void NoteTempFile(const std::string& path) { Fill(notes[0], path); }

void ForgetTempFile() { notes[0].noted = 0; }

int NoteTempFileNote(const std::string& path) {
  std::lock_guard<std::mutex> lock(claimMutex);
  for (int i = 1; i < kNotes; ++i) {
    if (claimed[i]) continue;
    if (!Fill(notes[i], path)) return -1;
    claimed[i] = true;
    return i;
  }
  return -1;
}

void ForgetTempFileNote(int note) {
  if (note <= 0 || note >= kNotes) return;
  std::lock_guard<std::mutex> lock(claimMutex);
  notes[note].noted = 0;
  claimed[note] = false;
}

void DeferSignals() { deferring = 1; }

int PendingSignal() { return pending; }

void EndByPendingSignal() {
  RemoveNoted();
  const int signal = pending ? static_cast<int>(pending) : SIGTERM;
  ::signal(signal, SIG_DFL);
  raise(signal);
  std::_Exit(128 + signal);
}
