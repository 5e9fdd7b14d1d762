// Brindlemark.exe without the windowed program: every start with arguments runs the
// command-line conversion.
#include <cstdio>

#include "cmdline/CommandLineParser.h"
#include "image/FreeImageCall.h"

int main(int argc, char** argv) {
  StartFreeImage();
  ConversionSettings settings;
  std::string message;
  const HRESULT hr = ParseCommandLine(TokensFromArguments(argc - 1, argv + 1), settings, message);
  if (Failed(hr)) std::printf("ERROR: %s\n", message.c_str());
  std::fflush(stdout);
  return Failed(hr) ? 1 : 0;
}
