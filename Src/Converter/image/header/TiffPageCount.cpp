#include "image/header/TiffPageCount.h"

#include "image/header/ByteSource.h"

namespace {

TiffChain::Extent Walk(ByteSource& bytes) {
  TiffChain chain;
  if (!chain.Start(bytes)) return {};
  return chain.Walk(kMaxTiffPages);
}

}  // namespace

TiffChain::Extent WalkTiffPagesInFile(const std::string& path) {
  FileBytes file(path);
  if (!file.ok()) return {-1, false, false};
  return Walk(file);
}

int CountTiffPages(const std::uint8_t* data, std::size_t size) {
  MemoryBytes bytes(data, size);
  return Walk(bytes).pages;
}

int CountTiffPagesInFile(const std::string& path) { return WalkTiffPagesInFile(path).pages; }
