// What --version prints: the program's name and version, then the versions of the
// libraries it runs on, one a line.
#pragma once

#include <string>
#include <string_view>

// `toolkitVersion` is the windowing library's own version text ("wxWidgets 3.2.2"), or
// empty in a build without the window.
std::string VersionText(std::string_view toolkitVersion);
