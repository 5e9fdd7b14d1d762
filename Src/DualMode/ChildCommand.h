// The child's path and command line. The launcher re-quotes its own arguments into one
// command-line text (an option's value with a blank is put in double quotes after its
// first ":"), then splits that text into the child's argument vector by the rule the
// child's option parser uses, so both programs read the same tokens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The launcher's path with the extension of its last component replaced by ".exe"
// (appended when the last component has no "."). Empty input gives an empty path.
std::string ChildPathFor(std::string_view launcherPath);

// The launcher's own path, read from /proc/self/exe; empty when it cannot be read.
std::string OwnPath();

// The re-quoted text of the arguments, each preceded by one blank. Double quotes inside
// an argument are dropped first, as the child drops them from its tokens.
std::string RequoteArguments(const std::vector<std::string>& arguments);

// Whitespace separates tokens; a double quote switches quoting on and off and is never
// part of a token; empty tokens are dropped.
std::vector<std::string> SplitArguments(std::string_view text);

// The child's arguments after its program name: SplitArguments(RequoteArguments(...)).
std::vector<std::string> ChildArguments(const std::vector<std::string>& arguments);
