// Brindlemark.exe built without the windowed program: a start with arguments runs the
// console sequence; a start without arguments has no window to open.
#include <cstdio>

#include "cmdline/CommandLineParser.h"
#include "cmdline/ConsoleSequence.h"
#include "image/codec/FreeImageCall.h"
#include "job/WorkerEntry.h"

int main(int argc, char** argv) {
  BecomeWorkerIfAsked(argc, argv);  // a run's worker process never returns from here
  StartFreeImage();
  const auto tokens = TokensFromArguments(argc - 1, argv + 1);
  if (!tokens.empty()) RunConsoleSequence(tokens);
  std::fprintf(stderr, "This build of Brindlemark has no windowed program; give it options.\n");
  return 1;
}
