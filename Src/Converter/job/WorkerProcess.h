// One worker process as the run sees it: started on demand with the run's settings, given
// one WorkOrder at a time, read for its WorkReports, and stopped or found dead. When it
// dies (a crash, an abort, the memory limit, or Kill at a time limit) the run learns it
// from Receive and asks Reap how it ended; the next order starts a fresh process.
#pragma once

#include <cstdint>
#include <string>

#include "job/WorkMessages.h"
#include "platform/process/ChildProcess.h"

class WorkerProcess {
 public:
  WorkerProcess() = default;
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;
  ~WorkerProcess();

  // Starts the process when it is not running and sends it the settings text.
  HRESULT EnsureStarted(const std::string& settingsText, std::int64_t memoryCap);
  bool Running() const { return child_.Running(); }
  // The descriptor to wait on for the next report.
  int ReplyFd() const { return child_.replyFd; }
  // False when the process could not take the order (it died meanwhile).
  bool Send(const WorkOrder& order);
  // Reads the next report; false when the process died or sent something malformed.
  bool Receive(WorkReport& report);
  // Kills the process at once (a time limit); Reap still follows.
  void Kill() { KillChild(child_); }
  // Collects the ended process: how it ended.
  ChildEnd Reap() { return ReapChild(child_); }
  // Ends an idle process: its request pipe closes and it exits by itself.
  void Stop();

  // The source file of the last order sent, kept across a death on purpose only until
  // the next start: a fresh process has no document open.
  std::string lastSource;

 private:
  ChildProcess child_;
};
