// Removing the temporary file of a save that a signal interrupts (Ctrl-C, a terminating
// launcher), so an interrupted run leaves no hidden half-written file behind.
#pragma once

#include <string>

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the noted file, then end
// the process by the same signal as before.
void RemoveTempFileOnSignal();
// Notes the file being written now (one at a time); Forget ends that.
void NoteTempFile(const std::string& path);
void ForgetTempFile();
