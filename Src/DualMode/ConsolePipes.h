// The rendezvous with the child: three FIFOs "<pid>cout", "<pid>cin" and "<pid>cerr" in
// the user's private rendezvous folder, named after the child's process id. The launcher
// makes them before the child runs, reads cout and cerr, and holds cin open without ever
// writing into it, so the child's opens never block.
#pragma once

#include <sys/types.h>

#include <array>
#include <string>

// The folder both sides agree on: "$XDG_RUNTIME_DIR/brindlemark" when that variable is an
// absolute path, else "$TMPDIR/brindlemark-<uid>" when that one is, else
// "/tmp/brindlemark-<uid>". Null or empty variables count as unset.
std::string RendezvousFolderFor(const char* xdgRuntimeDir, const char* tmpDir, uid_t uid);
// The same, from this process's environment and effective user id.
std::string RendezvousFolder();

// Makes the folder (mode 0700) when it is missing; true only when it is then a real
// directory (not a symbolic link) owned by this user with no group or other permissions.
// On failure `why` (when given) says what is wrong with it, as "is not a folder".
bool PrepareRendezvousFolder(const std::string& folder, std::string* why = nullptr);

// Removes the FIFOs "<pid>cout", "<pid>cin" and "<pid>cerr" of this user in the folder
// whose process no longer exists: what a launcher that was killed left behind.
void RemoveAbandonedPipes(const std::string& folder);

class ConsolePipes {
 public:
  ConsolePipes() = default;
  ConsolePipes(const ConsolePipes&) = delete;
  ConsolePipes& operator=(const ConsolePipes&) = delete;
  ~ConsolePipes();  // closes the ends and removes the FIFOs it made

  // Removes stale entries of the three names that this user owns, makes the FIFOs (mode
  // 0600) in the order cout, cin, cerr and opens the launcher's ends. False on any
  // failure; what was made so far is undone by Close and Remove.
  bool Create(const std::string& folder, pid_t childPid);

  int outputFd() const { return fds_[kOut]; }
  // Why the last Create failed: the call, the entry's name and the system's reason, as
  // "mkfifo 42cout: Permission denied".
  const std::string& failure() const { return failure_; }
  int errorFd() const { return fds_[kErr]; }

  // Closes the launcher's ends in the order output, error, input.
  void Close();
  // Removes the FIFOs this object made.
  void Remove();

 private:
  enum { kOut, kIn, kErr, kCount };
  std::array<std::string, kCount> paths_;
  std::array<bool, kCount> made_{};
  std::array<int, kCount> fds_{-1, -1, -1};
  std::string failure_;
};
