#include "ui/WindowedProgram.h"

#include <wx/wx.h>

#include <cstdio>

namespace {

// Placeholder application until the main frame exists: an empty frame.
class PlaceholderApp : public wxApp {
 public:
  bool OnInit() override {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Brindlemark");
    frame->Show();
    return true;
  }
};

}  // namespace

int RunWindowedProgram(int argc, char** argv) {
  wxApp::SetInstance(new PlaceholderApp);
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
