// The program's own GIF decoder, as the image loading sees it: the number of frames of a
// file, and one frame as a 32-bit picture. The file is read into memory once and decoded
// from there.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileVersion.h"
#include "platform/Result.h"

class GifFrameDecoder;

// The pixel budget of every raster a GIF decode makes: the conversion's peak, with the
// canvas kept between frames, stays within the per-picture budget.
std::int64_t GifPixelBudget();

// The number of images (frames) in the file, or 0 when its frame 0 cannot be decoded.
int CountGifFrames(const std::string& path);
// Decodes frame `index` (from 0) and returns it as a new 32-bit picture in *picture:
// 0 on success, E_IMG_LOAD when the file cannot be decoded or has no such frame.
HRESULT LoadGifFrame(const std::string& path, int index, FIBITMAP** picture);

// Loads frames of GIF files as LoadGifFrame does, keeping the last file's bytes and the
// picture composed for its last frame while the file stays the same version (device,
// inode, size, times): the frames of one file loaded in order cost one image each. The
// file's last frame frees what was kept.
class GifFrameReader {
 public:
  GifFrameReader();
  ~GifFrameReader();
  GifFrameReader(const GifFrameReader&) = delete;
  GifFrameReader& operator=(const GifFrameReader&) = delete;

  HRESULT Load(const std::string& path, int index, FIBITMAP** picture);
  // Forgets the kept file.
  void Close();

 private:
  bool Open(const std::string& path);

  std::string path_;
  std::optional<FileVersion> version_;
  std::vector<std::uint8_t> bytes_;
  std::unique_ptr<GifFrameDecoder> decoder_;
};
