// The pages of one TIFF file, loaded one at a time through FreeImage without reopening
// the document for each. The file stays open with the chain of its directories (kept
// while the file stays the same version: device, inode, size, times), and a page is
// decoded from a view of the file whose header names that page's directory as the first,
// so FreeImage reads it as the file's only page. Page k after page k - 1 costs one step
// along the chain however many pages the file has; FreeImage's own multi-page access
// walks the chain from the start for every page.
#pragma once

#include <FreeImage.h>

#include <memory>
#include <optional>
#include <string>

#include "image/header/ByteSource.h"
#include "image/header/DeclaredPicture.h"
#include "image/header/TiffChain.h"
#include "platform/FileVersion.h"

class TiffPages {
 public:
  // Opens `path`, or keeps the open file when the path still leads to the same version
  // of it; false when it cannot be opened or is not a TIFF.
  bool Open(const std::string& path);
  void Close();

  // The size and depth page `page` declares.
  std::optional<DeclaredPicture> PageHeader(int page);
  // The open file's directory chain; nullptr when none is open.
  TiffChain* Chain() { return file_ ? &chain_ : nullptr; }
  // A new bitmap of page `page`, as FreeImage decodes it; nullptr when there is no such
  // page or it cannot be decoded.
  FIBITMAP* LoadPage(int page);
  // Whether page `page`'s samples are 16-bit floats (half floats), which FreeImage reads as
  // raw 16-bit words in most layouts.
  bool HalfFloatSamples(int page);

 private:
  std::unique_ptr<FileBytes> file_;
  std::string path_;
  std::optional<FileVersion> version_;
  TiffChain chain_;
};
