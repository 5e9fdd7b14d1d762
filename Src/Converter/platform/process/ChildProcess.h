// Starting a copy of this program as a helper process that talks over two pipes, and
// watching it end. The child runs the same executable with the given arguments; it reads
// requests on descriptor kChildRequestFd and writes replies on kChildReplyFd. Its standard
// input is the null device, its standard output goes where this process's standard error
// goes (a helper never writes to the report), and it inherits no other descriptor of ours
// that was opened close-on-exec. The POSIX implementation forks and executes
// /proc/self/exe; a Windows one would start the module's own path with inherited handles.
#pragma once

#include <string>
#include <vector>

#include "platform/Result.h"

// The descriptors a child started by StartSelf finds its pipes on.
constexpr int kChildRequestFd = 3;
constexpr int kChildReplyFd = 4;

struct ChildProcess {
  int pid = -1;
  int requestFd = -1;  // our write end of the child's requests
  int replyFd = -1;    // our read end of the child's replies
  bool Running() const { return pid > 0; }
};

// How a child ended.
struct ChildEnd {
  bool exited = false;  // by exit(): `code` holds its exit code
  int code = 0;
  int signal = 0;  // by a signal: its number
};

// Starts this program again with `arguments` (argv[1] onwards). Both pipe ends kept here
// are close-on-exec, so later children never inherit them. E_FAIL when it cannot start.
HRESULT StartSelf(const std::vector<std::string>& arguments, ChildProcess& child);
// Kills the child at once (SIGKILL); it must still be reaped with ReapChild.
void KillChild(const ChildProcess& child);
// Closes our pipe ends, waits for the child to end and tells how it ended; the record is
// reset. A child that does not end by itself must have been killed first.
ChildEnd ReapChild(ChildProcess& child);
