#include "job/WorkerProcess.h"

#include <string>

#include "job/WorkerEntry.h"
#include "platform/process/FrameChannel.h"
#include "platform/process/Process.h"

WorkerProcess::~WorkerProcess() {
  if (!child_.Running()) return;
  Kill();  // a worker still busy here is not waited for
  Reap();
}

HRESULT WorkerProcess::EnsureStarted(const std::string& settingsText, std::int64_t memoryCap) {
  if (child_.Running()) return S_OK;
  IgnoreBrokenPipe();  // a worker that dies fails its writes instead of ending the run
  lastSource.clear();
  const HRESULT started =
      StartSelf({std::string(kWorkerArgument), std::to_string(memoryCap)}, child_);
  if (Failed(started)) return started;
  if (!WriteFrame(child_.requestFd, settingsText)) {
    Kill();
    Reap();
    return E_FAIL;
  }
  return S_OK;
}

bool WorkerProcess::Send(const WorkOrder& order) {
  lastSource = order.sourcePath;
  return WriteFrame(child_.requestFd, EncodeOrder(order));
}

bool WorkerProcess::Receive(WorkReport& report) {
  std::string frame;
  if (!ReadFrame(child_.replyFd, frame)) return false;
  const auto decoded = DecodeReport(frame);
  if (!decoded) return false;
  report = *decoded;
  return true;
}

void WorkerProcess::Stop() {
  if (!child_.Running()) return;
  ReapChild(child_);  // closing the request pipe ends the worker's loop
}
