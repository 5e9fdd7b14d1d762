#include "ui/frame/BrindlemarkApp.h"

#include <wx/msgdlg.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cmdline/ConsoleSequence.h"
#include "image/codec/FreeImageCall.h"
#include "platform/PathArguments.h"
#include "ui/list/FileDropTarget.h"
#include "ui/run/CloseBoxWatch.h"
#include "ui/run/DisplayLoss.h"
#include "ui/frame/MainFrame.h"
#include "ui/run/ModalDialogs.h"
#include "ui/run/StopRequest.h"
#include "strings/StringTable.h"
#include "ui/toolkit/WxText.h"

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
  // A stop by signal or by the loss of the display still saves the settings: in place before
  // the window shows, so a signal sent as soon as it appears is not the default's sudden end.
  TrackModalDialogs();
  InstallStopOnSignal();
  signalTimer_.Bind(wxEVT_TIMER, [](wxTimerEvent&) { ActOnStopRequest(TheMainFrame()); });
  signalTimer_.Start(100);
  SaveOnDisplayLoss([this] {
    if (!commandLineMode_) session_->Save();
  });
  frame->Show();
  frame->Raise();
  WatchCloseBox(frame);
  started_ = true;
  AddStartPaths();
  return true;
}

// Files and folders given as arguments ("Open With") go into the list as a drop would add
// them, once the window is up: a folder's search shows its dialog over it.
void BrindlemarkApp::AddStartPaths() {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i].ToStdString(wxConvUTF8));
  if (!NamesExistingPaths(arguments)) return;
  std::vector<std::string> paths;
  for (const std::string& argument : arguments)
    paths.push_back(std::filesystem::absolute(argument).lexically_normal().string());
  CallAfter([paths] { AddDroppedFiles(paths); });
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
