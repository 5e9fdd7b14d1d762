#include "image/codec/ImageType.h"

#include <FreeImage.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "image/codec/FreeImageCall.h"
#include "image/header/TiffPageCount.h"
#include "image/gif/GifReader.h"

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

}  // namespace

int GetImageType(const std::string& path) {
  if (UpperExtension(path) == "GIF") return ImageTypeOwnGif;
  // FreeImage walks its extension lists with strtok, which keeps one hidden cursor for the
  // whole process: two threads asking at once read freed memory. One asks at a time.
  static std::mutex extensionLookup;
  const std::lock_guard<std::mutex> lock(extensionLookup);
  return CallFreeImage(FIF_UNKNOWN, [&] { return FreeImage_GetFIFFromFilename(path.c_str()); });
}

bool IsSupportedType(const std::string& path, bool forReading) {
  const int type = GetImageType(path);
  if (type == ImageTypeOwnGif) return true;
  if (type == FIF_UNKNOWN) return false;
  const auto fif = static_cast<FREE_IMAGE_FORMAT>(type);
  return CallFreeImage(FALSE, [&] {
           return forReading ? FreeImage_FIFSupportsReading(fif)
                             : FreeImage_FIFSupportsWriting(fif);
         }) != FALSE;
}

int GetPageCount(const std::string& path) {
  const int type = GetImageType(path);
  if (type == ImageTypeOwnGif) return CountGifFrames(path);
  if (type == FIF_UNKNOWN) return 0;
  if (type != FIF_TIFF) return 1;
  // Counted by our own walker: the collecting process never runs a decoder on the file.
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
