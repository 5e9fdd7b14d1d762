// The console rendezvous between Brindlemark.exe (the child) and its console launcher
// Brindlemark.com: where the three FIFOs live, what they are called, and how the child
// opens one of them. The launcher shares no code with this file; both sides follow the
// contract written out in ConsoleRendezvous.cpp.
#pragma once

#include <string>

// The folder of the FIFOs: "$XDG_RUNTIME_DIR/brindlemark" when that variable is set,
// non-empty and absolute; else "$TMPDIR/brindlemark-<uid>" under the same condition for
// $TMPDIR; else "/tmp/brindlemark-<uid>" (<uid> = the effective user id, decimal).
std::string RendezvousFolder();

// Whether the folder may be trusted: a real directory (not a link), owned by the
// effective user, with no group or other permission bits.
bool RendezvousFolderUsable(const std::string& folder);

// "<folder>/<pid><kind>" with kind "cout", "cin" or "cerr" and pid in decimal.
std::string RendezvousPipeName(const std::string& folder, int pid, const char* kind);

// Opens the FIFO at `path` once, without waiting: `flags` is O_RDONLY or O_WRONLY,
// opened non-blocking and close-on-exec. Returns the descriptor, in blocking mode, only
// when it is a FIFO owned by the effective user; otherwise -1 (a writer's ENXIO, "no
// reader", counts as absent too).
int OpenOwnFifo(const std::string& path, int flags);
