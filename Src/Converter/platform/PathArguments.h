// Arguments that only name files and folders, as a file manager's "Open With" passes them:
// such a start opens the window with them added to the list, while any other argument (an
// option, a path that is not there) keeps the command line. The launcher restates this rule
// (it shares no code with the converter), so it starts the window exactly when the program
// would open it; a test holds both to the same answers.
#pragma once

#include <string>
#include <vector>

// True when there is at least one argument and every one names an existing regular file or
// folder (links followed, relative paths against the current folder), asked without opening
// anything: an absolute path is a path here, never an option.
bool NamesExistingPaths(const std::vector<std::string>& arguments);
