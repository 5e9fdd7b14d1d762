// The list of sources of "-sourcelist:<file>": one path per line, each a file or a folder
// converted as "-source" would, all in one run. "-" reads standard input. Blank lines are
// ignored; a carriage return before a line end is dropped (lists written on Windows).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The entries of a list's text, in order, each as ListedPath gives it.
std::vector<std::string> SourceListEntries(std::string_view text);
// Reads the list named `name` ("-": standard input). False with `why` set (the system's
// reason) when it cannot be read.
bool ReadSourceList(const std::string& name, std::vector<std::string>& entries, std::string& why);

// A listed path without empty and "." components and without a final "/" ("./2020//trip/"
// gives "2020/trip"); "." for the current folder itself. A leading "/" stays.
std::string ListedPath(std::string_view path);
// Whether the path has a ".." component, which would climb out of the destination when
// the path is kept below it.
bool ClimbsOut(std::string_view path);
