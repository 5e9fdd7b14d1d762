#include "ui/run/StopRequest.h"

#include <csignal>

#include "ui/frame/MainFrame.h"
#include "ui/run/ModalDialogs.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
bool closing = false;

void NoteSignal(int) { stopRequested = 1; }

}  // namespace

void InstallStopOnSignal() {
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

void RequestStop() { stopRequested = 1; }

bool StopRequested() { return stopRequested != 0; }

bool ActOnStopRequest(CMainFrame* frame) {
  if (!stopRequested || closing) return closing;
  // A modal loop still runs on the stack below this timer: end it and come back on a
  // later tick, once its ShowModal has returned.
  if (CancelInnermostModalDialog()) return false;
  if (!frame) return false;
  closing = true;
  frame->Close(true);
  return true;
}
