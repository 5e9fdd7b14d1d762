// The process's own facts and its end: ids, a short sleep, the broken-pipe signal, and
// ending at once with an exit code.
#pragma once

// The process id, as the launcher knows it (fork + exec keep it).
int CurrentProcessId();
// The effective user id that owns the files and FIFOs this process may trust.
unsigned EffectiveUserId();
void SleepMilliseconds(int milliseconds);
// A write to a pipe whose reader has gone then fails with EPIPE instead of killing the
// process, so a run still ends with its own exit code.
void IgnoreBrokenPipe();
// Ends the process at once: no destructors, no handlers registered with atexit.
[[noreturn]] void ExitNow(int code);
