// Brindlemark.exe: FreeImage starts first; a start with a command-line tail runs the
// console sequence (which never returns) without loading any GUI toolkit, so the command
// line works, and starts fast, without a display; a start without one, or with arguments
// that only name files and folders (a file manager's "Open With"; the window adds them to
// its list), opens the window from its module beside the program, when the build has one.
#include <cstdio>
#include <string>

#include "cmdline/CommandLineParser.h"
#include "cmdline/ConsoleSequence.h"
#include "cmdline/WindowModule.h"
#include "image/codec/FreeImageCall.h"
#include "job/WorkerEntry.h"
#include "platform/PathArguments.h"

int main(int argc, char** argv) {
  BecomeWorkerIfAsked(argc, argv);  // a run's worker process never returns from here
  StartFreeImage();
  const auto tokens = TokensFromArguments(argc - 1, argv + 1);
  if (!tokens.empty() && !NamesExistingPaths({argv + 1, argv + argc})) {
    bool versionAsked = false;
    for (const std::string& token : tokens) versionAsked = versionAsked || token == "--version";
    RunConsoleSequence(tokens, versionAsked ? WindowToolkitVersion() : std::string{});
  }
  const int code = RunWindowModule(argc, argv);
  if (code >= 0) return code;
  std::fprintf(stderr, "This build of Brindlemark has no windowed program; give it options.\n");
  return 1;
}
