// Writing a whole buffer to a file descriptor.
#pragma once

#include <string>

// Writes every byte, retrying after interruptions; false when a write fails.
bool WriteAll(int fd, const std::string& bytes);
