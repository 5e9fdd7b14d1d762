// Helpers for the launcher's tests: copies of the executables beside a fake child, and
// the processes started from them.
#pragma once

#include <string>

#include "support/ProgramRun.h"
#include "support/TestFolder.h"

void CopyExecutable(const std::string& from, const std::string& to);
// True when some process (running or stopped) was started from the executable at `path`.
bool ProcessRunsFrom(const std::string& path);
// The Brindlemark.com copied beside a fake child (as Brindlemark.exe) into `dir`, and
// options pointing the rendezvous at "<dir>/run" with BM_FAKE_MODE set to `mode`.
std::string InstallLauncherWithFakeChild(const TempDir& dir);
RunOptions FakeOptions(const TempDir& dir, const std::string& mode);
