#include "ui/toolkit/DesktopOpener.h"

#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/process.h>
#include <wx/utils.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include "platform/PathStatus.h"
#include "strings/StringTable.h"
#include "ui/resources/AdviceTexts.h"
#include "ui/toolkit/WxText.h"

namespace {

// Reports the opener's failure once it has ended, and then deletes itself.
class OpenerProcess : public wxProcess {
 public:
  OpenerProcess(std::string path, OpenFailureReport report)
      : path_(std::move(path)), report_(std::move(report)) {}

  void OnTerminate(int, int status) override {
    if (status != 0) {
      // Shown once the toolkit is back in its loop, not inside its child handling.
      wxTheApp->CallAfter(
          [report = report_, text = OpenFailureText(path_, status)] { report(WxText(text)); });
    }
    delete this;
  }

 private:
  std::string path_;
  OpenFailureReport report_;
};

OpenFailureReport DefaultReport(wxWindow* parent) {
  wxWeakRef<wxWindow> owner(parent);
  return [owner](const wxString& message) {
    wxMessageBox(message, WxText(LoadText(Ids::AppTitle)), wxOK | wxICON_WARNING, owner.get());
  };
}

}  // namespace

std::string OpenFailureText(const std::string& path, int exitCode) {
  switch (exitCode) {
    case 2: return FillText(AdviceTexts::OpenMissing, path, {});
    case 3: return FillText(AdviceTexts::OpenNoApplication, path, {});
    default: return FillText(AdviceTexts::OpenFailed, path, {});
  }
}

bool OpenWithDesktop(const wxString& path, wxWindow* parent, OpenFailureReport report) {
  if (!report) report = DefaultReport(parent);
  const std::string utf8 = Utf8(path);
  if (!TargetIdentity(utf8)) {
    report(WxText(FillText(AdviceTexts::OpenMissing, utf8, {})));
    return false;
  }
  wxString opener;
  wxString searchPath;
  if (!wxGetEnv("PATH", &searchPath) || !wxFindFileInPath(&opener, searchPath, "xdg-open")) {
    report(WxText(FillText(AdviceTexts::NoDesktopOpener, utf8, {})));
    return false;
  }
  // An argument vector: the path is never read by a shell.
  const wxString program = opener;
  const wxCharBuffer programBytes = program.utf8_str();
  const wxCharBuffer pathBytes = path.utf8_str();
  const char* argv[] = {programBytes.data(), pathBytes.data(), nullptr};
  auto* process = new OpenerProcess(utf8, report);
  if (wxExecute(argv, wxEXEC_ASYNC, process) <= 0) {
    delete process;
    report(WxText(FillText(AdviceTexts::OpenFailed, utf8, {})));
    return false;
  }
  return true;
}
