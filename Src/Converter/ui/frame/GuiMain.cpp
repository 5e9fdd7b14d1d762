// Brindlemark.exe: FreeImage starts first; a start with a command-line tail runs the
// console sequence (which never returns) before any GUI toolkit is touched, so the
// command line works without a display; a start without one opens the window.
#include <wx/version.h>

#include <string>

#include "cmdline/CommandLineParser.h"
#include "cmdline/ConsoleSequence.h"
#include "image/codec/FreeImageCall.h"
#include "job/WorkerEntry.h"
#include "ui/frame/BrindlemarkApp.h"

int main(int argc, char** argv) {
  BecomeWorkerIfAsked(argc, argv);  // a run's worker process never returns from here
  StartFreeImage();
  const auto tokens = TokensFromArguments(argc - 1, argv + 1);
  // The version the program was built against: the library's own report needs an
  // initialised toolkit, which the command line never starts.
  const std::string toolkit = "wxWidgets " + std::to_string(wxMAJOR_VERSION) + "." +
                              std::to_string(wxMINOR_VERSION) + "." +
                              std::to_string(wxRELEASE_NUMBER);
  if (!tokens.empty()) RunConsoleSequence(tokens, toolkit);
  return RunWindowedProgram(argc, argv);
}
