// FreeImage's own save to a path does not notice when the file system refuses bytes
// (a full disk leaves a truncated file and reports success). This save goes through
// FreeImage's handle interface over a stream of ours, so every short write, the final
// flush and the close are checked.
#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <string>

// True only when FreeImage encoded the picture and every byte reached the file.
bool SaveCheckedToFile(FREE_IMAGE_FORMAT fif, FIBITMAP* picture, const std::string& path,
                       int flags);
// Writes bytes another encoder made to the file, checked the same way.
bool WriteFileChecked(const std::string& path, const std::uint8_t* bytes, std::size_t size);
