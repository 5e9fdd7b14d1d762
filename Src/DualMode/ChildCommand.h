// The child's path, and whether an argument vector makes a command-line start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The launcher's path with the extension of its last component replaced by ".exe"
// (appended when the last component has no "."). Empty input gives an empty path.
std::string ChildPathFor(std::string_view launcherPath);

// The launcher's own path, read from /proc/self/exe; empty when it cannot be read.
std::string OwnPath();

// Whether the arguments make a command-line start, by the rule of Brindlemark.exe: some
// argument holds more than blanks (space, tab) once its double quotes are removed. The
// launcher hands its argument vector to the child unchanged, so both programs read the
// same tokens; without options both open the window.
bool HoldsOptions(const std::vector<std::string>& arguments);

// Whether the arguments only name files and folders, as a file manager's "Open With" passes
// them, by the rule of Brindlemark.exe (its NamesExistingPaths): at least one argument, each
// an existing regular file or folder, asked without opening anything. Restated here because
// the launcher shares no code with the converter; a test holds both to the same answers.
bool NamesOnlyFilesAndFolders(const std::vector<std::string>& arguments);
