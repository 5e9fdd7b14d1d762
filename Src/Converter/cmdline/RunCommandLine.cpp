#include "cmdline/RunCommandLine.h"

#include <cstdio>

#include "cmdline/CommandLineParser.h"

HRESULT RunCommandLine(const std::vector<std::string>& tokens) {
  ConversionSettings settings;
  std::string message;
  const HRESULT hr = ParseCommandLine(tokens, settings, message);
  if (Failed(hr)) {
    std::printf("ERROR: %s\n", message.c_str());
    std::fflush(stdout);
    return hr;
  }
  return S_OK;  // collecting and converting come with the conversion job
}
