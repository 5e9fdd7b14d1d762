// The windowed program as a module (Brindlemark.window.so) that Brindlemark.exe loads beside
// itself only for a start without a command-line tail: a command-line start then never
// loads the GUI toolkit and its hundred libraries. The module carries its own copy of the
// engine, so it starts FreeImage again to put its own message handler in place.
#include <wx/version.h>

#include <string>

#include "image/codec/FreeImageCall.h"
#include "ui/frame/BrindlemarkApp.h"

#define BM_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

BM_MODULE_ENTRY int BrindlemarkWindowMain(int argc, char** argv) {
  StartFreeImage();
  return RunWindowedProgram(argc, argv);
}

// The version the window was built against: the library's own report needs an initialised
// toolkit, which --version never starts.
BM_MODULE_ENTRY const char* BrindlemarkToolkitVersion() {
  static const std::string version = "wxWidgets " + std::to_string(wxMAJOR_VERSION) + "." +
                                     std::to_string(wxMINOR_VERSION) + "." +
                                     std::to_string(wxRELEASE_NUMBER);
  return version.c_str();
}
