#include "image/camera/Orientation.h"

#include "image/camera/CameraData.h"
#include "image/codec/FreeImageCall.h"
#include "image/camera/TiffDirectory.h"

#include <cstdint>
#include <fstream>

namespace {

// Reads TIFF integers of either byte order at any offset; a short read leaves ok false.
class TiffReader {
 public:
  explicit TiffReader(const std::string& path) : in_(path, std::ios::binary) {
    char order[2] = {};
    in_.read(order, 2);
    ok_ = in_.good() && order[0] == order[1] && (order[0] == 'I' || order[0] == 'M');
    big_ = order[0] == 'M';
  }
  bool ok() const { return ok_; }
  std::uint32_t Read(std::uint64_t offset, int bytes) {
    unsigned char b[4] = {};
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(reinterpret_cast<char*>(b), bytes);
    if (!in_.good()) ok_ = false;
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
      v |= static_cast<std::uint32_t>(big_ ? b[i] : b[bytes - 1 - i]) << (8 * (bytes - 1 - i));
    return v;
  }

 private:
  std::ifstream in_;
  bool ok_ = false;
  bool big_ = false;
};

}  // namespace

int TiffOrientation(const std::string& path, int pageIndex) {
  if (pageIndex < 0) return 1;
  TiffReader tiff(path);
  if (!tiff.ok() || tiff.Read(2, 2) != 42) return 1;
  std::uint64_t ifd = tiff.Read(4, 4);
  // Walk the chain of directories to the page; a chain shorter than that has no answer.
  for (int page = 0; page < pageIndex && tiff.ok() && ifd != 0; ++page)
    ifd = tiff.Read(ifd + 2 + 12ull * tiff.Read(ifd, 2), 4);
  if (!tiff.ok() || ifd == 0) return 1;
  const std::uint32_t entries = tiff.Read(ifd, 2);
  for (std::uint32_t i = 0; i < entries && tiff.ok(); ++i) {
    const std::uint64_t entry = ifd + 2 + 12ull * i;
    if (tiff.Read(entry, 2) != kOrientationTag) continue;
    if (tiff.Read(entry + 2, 2) != kTiffShort || tiff.Read(entry + 4, 4) < 1) return 1;
    const std::uint32_t value = tiff.Read(entry + 8, 2);
    return tiff.ok() && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
  }
  return 1;
}

int RecordedOrientation(FIBITMAP* picture) {
  FITAG* tag = nullptr;
  if (!picture || !FreeImage_GetMetadata(FIMD_EXIF_MAIN, picture, "Orientation", &tag) || !tag)
    return 1;
  if (FreeImage_GetTagType(tag) != FIDT_SHORT || FreeImage_GetTagCount(tag) < 1) return 1;
  const int value = *static_cast<const WORD*>(FreeImage_GetTagValue(tag));
  return value >= 1 && value <= 8 ? value : 1;
}

namespace {

// FreeImage turns counter-clockwise for positive angles.
FIBITMAP* Turned(FIBITMAP* picture, double degrees) {
  return CallFreeImage<FIBITMAP*>(nullptr,
                                  [&] { return FreeImage_Rotate(picture, degrees, nullptr); });
}

FIBITMAP* Copied(FIBITMAP* picture) {
  return CallFreeImage<FIBITMAP*>(nullptr, [&] { return FreeImage_Clone(picture); });
}

// Applies an in-place flip to a fresh picture; releases it when the flip fails.
FIBITMAP* Flipped(FIBITMAP* made, bool horizontal) {
  if (!made) return nullptr;
  const BOOL ok = horizontal ? FreeImage_FlipHorizontal(made) : FreeImage_FlipVertical(made);
  if (ok) return made;
  FreeImage_Unload(made);
  return nullptr;
}

FIBITMAP* Upright(FIBITMAP* picture, int orientation) {
  switch (orientation) {
    case 2: return Flipped(Copied(picture), true);
    case 3: return Turned(picture, 180);
    case 4: return Flipped(Copied(picture), false);
    case 5: return Flipped(Turned(picture, -90), true);   // transpose: clockwise, then mirror
    case 6: return Turned(picture, -90);                  // a quarter turn clockwise
    case 7: return Flipped(Turned(picture, -90), false);  // transverse: clockwise, then upside down
    case 8: return Turned(picture, 90);                   // a quarter turn counter-clockwise
    default: return nullptr;
  }
}

}  // namespace

// FreeImage copies the camera data with the pixels; the copy would still record the old
// orientation (a viewer would turn the picture again) and the old sizes, so it goes.
FIBITMAP* TurnedUpright(FIBITMAP* picture, int orientation) {
  FIBITMAP* made = picture ? Upright(picture, orientation) : nullptr;
  ClearCameraData(made);
  return made;
}
