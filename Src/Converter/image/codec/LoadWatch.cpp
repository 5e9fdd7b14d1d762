#include "image/codec/LoadWatch.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "image/ImageResult.h"
#include "image/codec/FreeImageCall.h"

namespace {

thread_local LoadWatch* currentWatch = nullptr;

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The readers that take exactly the bytes they need and carry on when a read comes back
// short; a read that finds nothing left means the file ends before its pixels do. (The
// buffered readers among them, PCX and run-length TGA, may come back short at the end
// of a whole file, but never empty.)
bool ReaderIgnoresShortReads(FREE_IMAGE_FORMAT fif) {
  switch (fif) {
    case FIF_JPEG:  // libjpeg warns only once per file; the first warning may be another
    case FIF_BMP:
    case FIF_TARGA:
    case FIF_PCX:
    case FIF_PBM:
    case FIF_PBMRAW:
    case FIF_PGM:
    case FIF_PGMRAW:
    case FIF_PPM:
    case FIF_PPMRAW: return true;
    default: return false;
  }
}

// The source of one watched load: a file or a block of memory, and whether an empty read
// counts as truncation.
struct WatchedSource {
  std::FILE* file = nullptr;
  std::string_view bytes;
  std::size_t position = 0;
  bool noteEmptyReads = false;
};

WatchedSource& SourceOf(fi_handle handle) { return *static_cast<WatchedSource*>(handle); }

unsigned DLL_CALLCONV Read(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  WatchedSource& s = SourceOf(handle);
  std::size_t items = 0;
  bool atEnd = true;
  if (s.file) {
    items = std::fread(buffer, size, count, s.file);
    atEnd = std::feof(s.file) != 0;  // not a read error
  } else if (size > 0) {
    const std::size_t left = s.position < s.bytes.size() ? s.bytes.size() - s.position : 0;
    const std::size_t taken = std::min<std::size_t>(left, std::size_t{size} * count);
    std::memcpy(buffer, s.bytes.data() + s.position, taken);
    s.position += taken;
    items = taken / size;
  }
  if (s.noteEmptyReads && count > 0 && size > 0 && items == 0 && atEnd)
    NoteDamage(LoadDamage::Truncated);
  return static_cast<unsigned>(items);
}

unsigned DLL_CALLCONV Write(void*, unsigned, unsigned, fi_handle) { return 0; }

int DLL_CALLCONV Seek(fi_handle handle, long offset, int origin) {
  WatchedSource& s = SourceOf(handle);
  if (s.file) return std::fseek(s.file, offset, origin);
  const long base = origin == SEEK_SET   ? 0
                    : origin == SEEK_CUR ? static_cast<long>(s.position)
                                         : static_cast<long>(s.bytes.size());
  if (base + offset < 0) return -1;
  s.position = static_cast<std::size_t>(base + offset);
  return 0;
}

long DLL_CALLCONV Tell(fi_handle handle) {
  WatchedSource& s = SourceOf(handle);
  return s.file ? std::ftell(s.file) : static_cast<long>(s.position);
}

FIBITMAP* LoadFrom(FREE_IMAGE_FORMAT fif, WatchedSource& source, int flags) {
  source.noteEmptyReads = ReaderIgnoresShortReads(fif);
  FreeImageIO io{Read, Write, Seek, Tell};
  return CallFreeImage<FIBITMAP*>(nullptr, [&] {
    return FreeImage_LoadFromHandle(fif, &io, static_cast<fi_handle>(&source), flags);
  });
}

}  // namespace

LoadWatch::LoadWatch() : outer_(currentWatch) { currentWatch = this; }

LoadWatch::~LoadWatch() { currentWatch = outer_; }

HRESULT LoadWatch::CodeOr(HRESULT otherwise) const {
  switch (damage_) {
    case LoadDamage::Truncated: return E_IMG_TRUNCATED;
    case LoadDamage::Corrupt: return E_IMG_CORRUPT;
    case LoadDamage::None: break;
  }
  return otherwise;
}

void NoteDamage(LoadDamage damage) {
  LoadWatch* watch = currentWatch;
  if (!watch || damage == LoadDamage::None) return;
  if (watch->damage_ != LoadDamage::Truncated) watch->damage_ = damage;
}

LoadDamage DamageNamedByFreeImage(std::string_view message) {
  if (Contains(message, "Premature end of JPEG file")) return LoadDamage::Truncated;
  // "extraneous bytes before marker" is garbage between two segments: no pixel is lost.
  if (message.starts_with("Corrupt JPEG data:") && !Contains(message, "extraneous bytes"))
    return LoadDamage::Corrupt;
  if (Contains(message, "Image may be incomplete") || Contains(message, "Image data corrupted"))
    return LoadDamage::Corrupt;
  return LoadDamage::None;
}

LoadDamage DamageNamedByTiffMessage(std::string_view message) {
  for (std::string_view sign :
       {"Read error", "Seek error", "Not enough data", "Premature EOF", "Premature end"})
    if (Contains(message, sign)) return LoadDamage::Truncated;
  for (std::string_view sign : {"Corrupt", "corrupt", "Wrong length of decoded"})
    if (Contains(message, sign)) return LoadDamage::Corrupt;
  return LoadDamage::None;
}

FIBITMAP* LoadWatchingReads(FREE_IMAGE_FORMAT fif, const std::string& path, int flags) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
  struct stat st;
  if (!file || fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  WatchedSource source;
  source.file = file.get();
  return LoadFrom(fif, source, flags);
}

FIBITMAP* LoadWatchingReadsFromMemory(FREE_IMAGE_FORMAT fif, std::string_view bytes, int flags) {
  WatchedSource source;
  source.bytes = bytes;
  return LoadFrom(fif, source, flags);
}
