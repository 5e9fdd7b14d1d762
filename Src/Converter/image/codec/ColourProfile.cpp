#include "image/codec/ColourProfile.h"

ColourProfile ProfileOf(FIBITMAP* picture) {
  const FIICCPROFILE* icc = picture ? FreeImage_GetICCProfile(picture) : nullptr;
  if (!icc || !icc->data || icc->size == 0) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(icc->data);
  return ColourProfile(bytes, bytes + icc->size);
}

bool DescribesRgb(const ColourProfile& profile) {
  constexpr std::size_t kColourSpaceAt = 16;
  return profile.size() >= 128 && profile[kColourSpaceAt] == 'R' &&
         profile[kColourSpaceAt + 1] == 'G' && profile[kColourSpaceAt + 2] == 'B' &&
         profile[kColourSpaceAt + 3] == ' ';
}

void SetProfile(FIBITMAP* picture, const ColourProfile& profile) {
  if (!picture) return;
  FreeImage_DestroyICCProfile(picture);
  if (profile.empty()) return;
  // FreeImage copies the bytes; its parameter is not const but it does not write them.
  FreeImage_CreateICCProfile(picture, const_cast<std::uint8_t*>(profile.data()),
                             static_cast<long>(profile.size()));
}
