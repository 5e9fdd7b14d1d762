// Where the windowed program's help lives: an HTML file beside the program, named after it.
#pragma once

#include <string>

// The program's path with the last "." part of its file name replaced by ".html" (or
// ".html" appended when the name has no "."); dots in folder names are left alone.
std::string HelpFilePath(const std::string& programPath);
