// The GUI tests' entry: FreeImage and wxWidgets start once, the tests run inside an active
// event loop (so yielding and idle processing work), and any wx assertion fails the test
// that caused it instead of opening a modal dialog that would hang the run.
#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/wx.h>

#include "image/codec/FreeImageCall.h"
#include "job/WorkerEntry.h"

namespace {

class UiTestApp : public wxApp {
 public:
  bool OnInit() override {
    wxInitAllImageHandlers();
    // Logged errors (libtiff's, through wx's handler, also from a conversion thread) go to
    // standard error: a log dialog would wait for a click that never comes.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    return true;
  }
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wx assertion in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

}  // namespace

int main(int argc, char** argv) {
  BecomeWorkerIfAsked(argc, argv);  // the workers of the runs the tests start
  testing::InitGoogleTest(&argc, argv);
  StartFreeImage();
  wxApp::SetInstance(new UiTestApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "GUI tests need a display (run them under xvfb-run)\n");
    return 1;
  }
  wxSetAssertHandler(FailOnAssert);
  wxTheApp->CallOnInit();
  int result = 0;
  {
    wxEventLoopGuarantor loop;
    result = RUN_ALL_TESTS();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  StopFreeImage();
  return result;
}
