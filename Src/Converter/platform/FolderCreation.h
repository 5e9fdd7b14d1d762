// Creating one folder level. The job creates a destination path level by level with it.
#pragma once

#include <string>

// Creates the folder with `mode` (less the umask). True when a folder is there
// afterwards, also when another process created it at the same moment.
bool MakeFolder(const std::string& path, unsigned mode = 0777);
