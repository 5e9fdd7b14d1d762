// Brindlemark.exe: FreeImage starts first; a start with a command-line tail runs the
// console sequence (which never returns) before any GUI toolkit is touched, so the
// command line works without a display; a start without one opens the window.
#include "cmdline/CommandLineParser.h"
#include "cmdline/ConsoleSequence.h"
#include "image/FreeImageCall.h"
#include "ui/WindowedProgram.h"

int main(int argc, char** argv) {
  StartFreeImage();
  const auto tokens = TokensFromArguments(argc - 1, argv + 1);
  if (!tokens.empty()) RunConsoleSequence(tokens);
  return RunWindowedProgram(argc, argv);
}
