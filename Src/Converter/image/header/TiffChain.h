// The chain of image directories of a TIFF file (classic or BigTIFF, either byte order).
// Page k's directory is found by following the chain from the last one already found, so
// pages asked for in order cost one step each however long the file is; and each page's
// declared size is read from its directory.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "image/header/ByteSource.h"
#include "image/header/DeclaredPicture.h"

class TiffChain {
 public:
  // Reads the file header from `bytes`, which must outlive the chain; false when the
  // bytes are not a TIFF.
  bool Start(ByteSource& bytes);

  // Bytes of the file header, and where in it the first directory's offset stands.
  int HeaderSize() const { return big_ ? 16 : 8; }
  int FirstOffsetAt() const { return big_ ? 8 : 4; }
  int OffsetSize() const { return big_ ? 8 : 4; }
  bool BigEndian() const { return bigEndian_; }

  // The offset of page `page`'s directory; none when the chain is shorter, loops or
  // leaves the file.
  std::optional<std::uint64_t> DirectoryOf(int page);

  // The whole chain, followed to its end or to `most` directories: how many directories
  // stand whole in the file, and whether the last of them names a next one that does not
  // (a rest of the file cut off, or damaged). A loop ends the chain without a broken rest.
  struct Extent {
    int pages = 0;
    bool brokenAfter = false;  // a directory named by the chain cannot be read whole
    bool pastTheEnd = false;   // ... because it reaches past the end of the file
  };
  Extent Walk(int most);
  // The size and depth page `page` declares.
  std::optional<DeclaredPicture> PageHeader(int page);

  // A field of page `page`'s directory: its type, its count and its first value (clamped
  // to 2^32); none when the page or the field is missing or the type has no values.
  struct Field {
    std::uint32_t type = 0;
    std::uint64_t count = 0;
    std::uint64_t first = 0;
  };
  std::optional<Field> PageField(int page, std::uint16_t tag);

 private:
  HeaderReader Reader() const { return HeaderReader(*bytes_, bigEndian_); }
  // Follows the chain from its last directory found to the next; false at the chain's end.
  bool Step();

  ByteSource* bytes_ = nullptr;
  bool big_ = false;
  bool bigEndian_ = false;
  std::vector<std::uint64_t> offsets_;  // of the directories found so far, in order
  std::unordered_set<std::uint64_t> seen_;
  bool ended_ = false;
  bool lastCut_ = false;        // the last directory found cannot be read whole
  bool cutPastTheEnd_ = false;  // ... because it reaches past the end of the file
};
