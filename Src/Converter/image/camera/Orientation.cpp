#include "image/camera/Orientation.h"

#include "image/camera/CameraData.h"
#include "image/camera/TiffDirectory.h"
#include "image/codec/FreeImageCall.h"
#include "image/header/ByteSource.h"
#include "image/header/TiffChain.h"

#include <cstdint>

int TiffOrientation(const std::string& path, int pageIndex) {
  FileBytes bytes(path);
  TiffChain chain;
  return bytes.ok() && chain.Start(bytes) ? TiffOrientation(chain, pageIndex) : 1;
}

int TiffOrientation(TiffChain& chain, int pageIndex) {
  const std::optional<TiffChain::Field> field = chain.PageField(pageIndex, kOrientationTag);
  if (!field || field->type != kTiffShort || field->count < 1) return 1;
  return field->first >= 1 && field->first <= 8 ? static_cast<int>(field->first) : 1;
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
