// Reading a whole regular file into memory, for decoders that work from a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads every byte of the regular file at `path` into `out`. False when the file cannot be
// opened, is not a regular file (a folder, a FIFO, a device), is larger than maxBytes,
// cannot be read to its end, or the memory cannot be had; `out` is then empty.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out);
