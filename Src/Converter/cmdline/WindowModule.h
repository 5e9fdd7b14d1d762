// The windowed program is a module beside Brindlemark.exe ("Brindlemark.window.so"), loaded
// only when a start needs it: a start without a command-line tail, and --version, which
// names the toolkit the window was built with. A build or package without the window has
// no module; the command line works the same.
#pragma once

#include <string>

// Runs the window; -1 when there is no module (or it cannot be loaded).
int RunWindowModule(int argc, char** argv);
// "wxWidgets 3.2.2" from the module; empty when there is none.
std::string WindowToolkitVersion();
