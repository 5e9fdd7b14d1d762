// Removing the temporary files of saves that a signal interrupts (Ctrl-C, a terminating
// launcher), so an interrupted run leaves no hidden half-written file behind. A
// one-at-a-time run notes its one file; a parallel run notes one file per save in flight
// and may defer the first signal until those saves are finished or removed.
#pragma once

#include <string>

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the noted files, then end
// the process by the same signal as before; signals are not deferred after it.
void RemoveTempFileOnSignal();
// For the other signals that end a process (SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU,
// SIGXFSZ) and for faults (SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL): the noted files are
// removed, then the signal ends the process as it would have. A signal that has a handler
// already (a sanitiser's, the caller's) keeps it. Installing twice does no harm.
void RemoveTempFilesOnFatalSignals();
// Notes the file being written now (one at a time); Forget ends that.
void NoteTempFile(const std::string& path);
void ForgetTempFile();

// Notes one more file, independently of the one above and of each other; safe from any
// thread. Returns the note's number for ForgetTempFileNote, or -1 when every place for a
// note is taken (the file is then not removed by a signal).
int NoteTempFileNote(const std::string& path);
void ForgetTempFileNote(int note);

// From now on the first of those signals is only recorded (PendingSignal), so that the
// run can stop starting work and finish what is in flight; a second one ends the process
// at once, removing every noted file.
void DeferSignals();
// The recorded signal, or 0.
int PendingSignal();
// Removes every noted file and ends the process by the recorded signal.
[[noreturn]] void EndByPendingSignal();
