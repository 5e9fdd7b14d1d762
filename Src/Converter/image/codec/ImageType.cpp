#include "image/codec/ImageType.h"

#include <FreeImage.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "image/codec/FreeImageCall.h"
#include "image/header/TiffPageCount.h"
#include "image/gif/GifReader.h"
#include "image/heif/AvifWriter.h"
#include "image/heif/HeifPageCount.h"
#include "image/heif/HeifReader.h"

namespace {

// The text after the last ".", empty when a separator follows that dot or there is none.
std::string UpperExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  if (dot == std::string::npos) return {};
  if (path.find_first_of("/\\", dot) != std::string::npos) return {};
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext;
}

struct OwnExtension {
  const char* extension;
  int type;
};
constexpr OwnExtension kOwnExtensions[] = {{"GIF", ImageTypeOwnGif}, {"HEIC", ImageTypeHeic},
                                           {"HEIF", ImageTypeHeic},  {"HIF", ImageTypeHeic},
                                           {"AVIF", ImageTypeAvif},  {"JXL", ImageTypeJxl}};

// Picture types by extension that neither FreeImage nor the program's own code reads.
constexpr const char* kUnreadablePictures[] = {"SVG", "SVGZ", "CR3", "EPS",   "EMF",
                                               "WMF", "XCF",  "KRA", "HEICS", "AVIFS"};

bool OwnTypeSupported(int type, bool forReading) {
  switch (type) {
    case ImageTypeOwnGif:
    case ImageTypeJxl: return true;
    case ImageTypeHeic: return forReading && CanDecodeHeic();
    case ImageTypeAvif: return forReading ? CanDecodeAvif() : CanEncodeAvif();
    default: return false;
  }
}

bool IsOwnType(int type) { return type >= ImageTypeOwnGif && type <= ImageTypeJxl; }

}  // namespace

int GetImageType(const std::string& path) {
  const std::string ext = UpperExtension(path);
  for (const OwnExtension& own : kOwnExtensions)
    if (ext == own.extension) return own.type;
  // FreeImage walks its extension lists with strtok, which keeps one hidden cursor for the
  // whole process: two threads asking at once read freed memory. One asks at a time.
  static std::mutex extensionLookup;
  const std::lock_guard<std::mutex> lock(extensionLookup);
  return CallFreeImage(FIF_UNKNOWN, [&] { return FreeImage_GetFIFFromFilename(path.c_str()); });
}

bool IsSupportedType(const std::string& path, bool forReading) {
  const int type = GetImageType(path);
  if (IsOwnType(type)) return OwnTypeSupported(type, forReading);
  if (type == FIF_UNKNOWN) return false;
  const auto fif = static_cast<FREE_IMAGE_FORMAT>(type);
  return CallFreeImage(FALSE, [&] {
           return forReading ? FreeImage_FIFSupportsReading(fif)
                             : FreeImage_FIFSupportsWriting(fif);
         }) != FALSE;
}

bool DecodedUpright(int type) {
  return type == ImageTypeHeic || type == ImageTypeAvif || type == ImageTypeJxl;
}

int GetPageCount(const std::string& path) {
  const int type = GetImageType(path);
  if (type == ImageTypeOwnGif) return CountGifFrames(path);
  if (type == FIF_UNKNOWN) return 0;
  // Counted by our own walkers: the collecting process never runs a decoder on the file.
  if (type == ImageTypeHeic || type == ImageTypeAvif) {
    // A file whose boxes show no picture is one page, so that its load tells the fault.
    const int pages = CountHeifPagesInFile(path);
    return pages < 1 ? 1 : pages;
  }
  if (type != FIF_TIFF) return 1;
  return CountTiffPagesInFile(path);
}

PageCount CountPages(const std::string& path) {
  PageCount count;
  if (GetImageType(path) != FIF_TIFF) {
    count.pages = GetPageCount(path);
    return count;
  }
  // The pages are the directories read whole; one named after them that is not there is a
  // rest of the file that cannot be read.
  const TiffChain::Extent chain = WalkTiffPagesInFile(path);
  count.pages = chain.pages;
  if (chain.pages > 0 && chain.brokenAfter)
    count.unreadableRest = "the pages after page " + std::to_string(chain.pages) +
                           " cannot be read: the file is " +
                           (chain.pastTheEnd ? "truncated" : "damaged");
  return count;
}

std::string UnreadablePictureType(const std::string& path) {
  if (IsSupportedType(path, true)) return {};
  const std::string ext = UpperExtension(path);
  if (GetImageType(path) != FIF_UNKNOWN) return ext;
  const bool known =
      std::find_if(std::begin(kUnreadablePictures), std::end(kUnreadablePictures),
                   [&](const char* name) { return ext == name; }) != std::end(kUnreadablePictures);
  return known ? ext : std::string();
}
