#include "ui/BrindlemarkApp.h"

#include <wx/msgdlg.h>

#include <csignal>
#include <cstdio>

#include "cmdline/ConsoleSequence.h"
#include "image/FreeImageCall.h"
#include "ui/MainFrame.h"
#include "ui/resources/StringTable.h"
#include "ui/WxText.h"

namespace {

// SIGTERM and SIGINT close the window as the user would, so the settings are saved. The
// handler only notes the signal; a timer on the GUI thread acts on it.
volatile std::sig_atomic_t closeRequested = 0;

void NoteSignal(int) { closeRequested = 1; }

void InstallCloseOnSignal() {
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

BrindlemarkApp::BrindlemarkApp()
    : commandLineMode_(::CommandLineMode()),
      registryRoot_(std::string("Software\\Orrinvale\\") + std::string(LoadText(Ids::AppTitle))) {}

bool BrindlemarkApp::OnInit() {
  SetAppName(WxText(LoadText(Ids::AppTitle)));
  SetVendorName("Orrinvale");
  session_ = std::make_unique<AppSession>(DefaultStorePath());
  session_->Load();

  auto* frame = new CMainFrame(*session_);
  if (!frame->Build()) {
    wxMessageBox("Brindlemark cannot create its main window.", "Brindlemark", wxOK | wxICON_ERROR);
    frame->Destroy();
    return false;
  }
  SetTopWindow(frame);
  frame->Show();
  frame->Raise();
  InstallCloseOnSignal();
  signalTimer_.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
    if (!closeRequested) return;
    closeRequested = 0;
    if (CMainFrame* frame = TheMainFrame()) frame->Close(true);
  });
  signalTimer_.Start(200);
  started_ = true;
  return true;
}

int BrindlemarkApp::OnExit() {
  signalTimer_.Stop();
  StopFreeImage();
  if (session_ && started_ && !commandLineMode_) session_->Save();
  if (session_) session_->list.reset();
  return wxApp::OnExit();
}

int RunWindowedProgram(int argc, char** argv) {
  wxApp::SetInstance(new BrindlemarkApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "Brindlemark cannot open its window: no display is available.\n");
    return 1;
  }
  int code = 1;
  if (wxTheApp->CallOnInit()) code = wxTheApp->OnRun();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return code;
}
