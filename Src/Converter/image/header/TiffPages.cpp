#include "image/header/TiffPages.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <limits>

#include "image/codec/FreeImageCall.h"

namespace {

// The file as FreeImage reads it for one page: its own bytes, but for the header's
// first-directory offset. Reads and seeks behave as fread and fseek do.
struct PageView {
  FileBytes* file;
  unsigned char header[16];
  std::uint64_t headerSize;
  std::uint64_t position;
};

unsigned ReadView(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  auto* view = static_cast<PageView*>(handle);
  const std::uint64_t total = view->file->Size();
  if (size == 0 || view->position >= total) return 0;
  const std::uint64_t items = std::min<std::uint64_t>(count, (total - view->position) / size);
  const std::uint64_t bytes = items * size;
  auto* out = static_cast<unsigned char*>(buffer);
  if (bytes == 0 || !view->file->Read(view->position, out, bytes)) return 0;
  for (std::uint64_t at = view->position; at < view->headerSize && at < view->position + bytes;
       ++at)
    out[at - view->position] = view->header[at];
  view->position += bytes;
  return static_cast<unsigned>(items);
}

unsigned WriteNothing(void*, unsigned, unsigned, fi_handle) { return 0; }

int SeekView(fi_handle handle, long offset, int origin) {
  auto* view = static_cast<PageView*>(handle);
  std::int64_t base = 0;
  if (origin == SEEK_CUR) base = static_cast<std::int64_t>(view->position);
  if (origin == SEEK_END) base = static_cast<std::int64_t>(view->file->Size());
  const std::int64_t target = base + offset;
  if (target < 0) return -1;
  view->position = static_cast<std::uint64_t>(target);
  return 0;
}

long TellView(fi_handle handle) {
  const std::uint64_t position = static_cast<PageView*>(handle)->position;
  return static_cast<long>(std::min<std::uint64_t>(position, std::numeric_limits<long>::max()));
}

}  // namespace

bool TiffPages::Open(const std::string& path) {
  if (file_ && path == path_ && FileVersionOf(path) == version_) return true;
  Close();
  auto file = std::make_unique<FileBytes>(path);
  if (!file->ok()) return false;
  const std::optional<FileVersion> version = FileVersionOf(file->Descriptor());
  if (!version || !chain_.Start(*file)) return false;
  file_ = std::move(file);
  path_ = path;
  version_ = version;
  return true;
}

void TiffPages::Close() {
  chain_ = TiffChain();
  file_.reset();
  path_.clear();
  version_.reset();
}

std::optional<DeclaredPicture> TiffPages::PageHeader(int page) {
  return file_ ? chain_.PageHeader(page) : std::nullopt;
}

FIBITMAP* TiffPages::LoadPage(int page) {
  if (!file_) return nullptr;
  const std::optional<std::uint64_t> directory = chain_.DirectoryOf(page);
  if (!directory) return nullptr;
  PageView view{file_.get(), {}, static_cast<std::uint64_t>(chain_.HeaderSize()), 0};
  if (!file_->Read(0, view.header, view.headerSize)) return nullptr;
  // The first-directory offset, in the file's byte order, now names the page's directory.
  const int at = chain_.FirstOffsetAt(), size = chain_.OffsetSize();
  for (int i = 0; i < size; ++i) {
    const int shift = 8 * (chain_.BigEndian() ? size - 1 - i : i);
    view.header[at + i] = static_cast<unsigned char>(*directory >> shift);
  }
  FreeImageIO io{ReadView, WriteNothing, SeekView, TellView};
  return CallFreeImage<FIBITMAP*>(
      nullptr, [&] { return FreeImage_LoadFromHandle(FIF_TIFF, &io, &view, 0); });
}

bool TiffPages::HalfFloatSamples(int page) {
  constexpr std::uint16_t kBitsPerSample = 258, kSampleFormat = 339;
  constexpr std::uint64_t kIeeeFloat = 3;
  if (!file_) return false;
  const std::optional<TiffChain::Field> format = chain_.PageField(page, kSampleFormat);
  const std::optional<TiffChain::Field> bits = chain_.PageField(page, kBitsPerSample);
  return format && format->first == kIeeeFloat && bits && bits->first == 16;
}
