// The whole conversion of a command-line start: options to settings, the one source
// collected, every item converted and reported on standard output, then a summary.
#pragma once

#include <string>
#include <vector>

#include "platform/Result.h"

// 0 when the options were valid and every image converted; the parser's or validation's
// code when the options were refused; E_FAIL when at least one image failed.
HRESULT RunCommandLine(const std::vector<std::string>& tokens);
