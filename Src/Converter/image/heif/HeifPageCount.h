// Counting the pictures of a HEIF file (HEIC, AVIF) without decoding it: a walk of its boxes
// to the item list and the item references in its 'meta' box. A page is an image item (HEVC,
// AV1, JPEG, a grid or another derived image) that is not hidden and is not a thumbnail or
// an auxiliary image (alpha, depth) of another, which are libheif's top-level images. Every
// read is bounds-checked against the file's size and the 'meta' box is read whole only up to
// kMaxHeifMetaBytes, so a hostile file cannot make it allocate or run long. It runs in the
// process that collects files, where no decoder is called on outside bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr std::uint64_t kMaxHeifMetaBytes = 16u << 20;

// Reads `size` bytes at `offset` into `out`; false when they are not all there.
using HeifByteReader =
    std::function<bool(std::uint64_t offset, std::size_t size, std::uint8_t* out)>;

// The number of pictures of a file of `fileSize` bytes; -1 when it has no 'meta' box that
// can be read whole.
int CountHeifPages(const HeifByteReader& read, std::uint64_t fileSize);
// The same over bytes in memory.
int CountHeifPages(const std::uint8_t* data, std::size_t size);
// The same over a file; -1 too when it cannot be opened.
int CountHeifPagesInFile(const std::string& path);
