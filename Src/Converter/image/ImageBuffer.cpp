#include "image/ImageBuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "image/ImageResult.h"
#include "image/camera/Orientation.h"
#include "image/camera/TiffCameraData.h"
#include "image/codec/BmpHeaderRewrite.h"
#include "image/codec/CheckedSave.h"
#include "image/codec/ColourProfile.h"
#include "image/codec/DecodedPicture.h"
#include "image/codec/FreeImageCall.h"
#include "image/codec/ImageType.h"
#include "image/codec/LoadWatch.h"
#include "image/codec/OutputTypes.h"
#include "image/codec/PictureMemory.h"
#include "image/codec/StandardBitmap.h"
#include "image/gif/GifReader.h"
#include "image/gif/GifWriter.h"
#include "image/header/DeclaredPicture.h"
#include "image/heif/AvifWriter.h"
#include "image/heif/HeifReader.h"
#include "image/jxl/JxlReader.h"
#include "image/jxl/JxlWriter.h"
#include "image/transform/BitDepth.h"
#include "image/transform/Greyscale.h"
#include "image/transform/Overlay.h"
#include "image/transform/ResizeAndFrame.h"
#include "image/transform/Rotate.h"
#include "image/transform/Shadow.h"

namespace {

// The JPEG save flags. The quality: its low 8 bits, 0 raised to 1, above 100 lowered to
// 100. Colour keeps its full resolution (4:4:4) from quality 90 up, where halving it would
// spoil more than the quality asked for; below, chroma is halved both ways (4:2:0). The
// Huffman tables are computed for each picture: smaller files, the same pixels.
int JpegFlags(const EncoderOptions& options) {
  int quality = options.quality & 0xFF;
  if (quality == 0) quality = 1;
  if (quality > 100) quality = 100;
  return quality | (quality >= 90 ? JPEG_SUBSAMPLING_444 : JPEG_SUBSAMPLING_420) | JPEG_OPTIMIZE |
         (options.progressive ? JPEG_PROGRESSIVE : 0);
}

// The WebP save flags: the quality 1 to 99, lossless at 100.
int WebpFlags(int quality) { return quality >= 100 ? WEBP_LOSSLESS : std::clamp(quality, 1, 99); }

}  // namespace

ImageBuffer::~ImageBuffer() { ReleaseDocument(); }

int ImageBuffer::Width() const {
  return picture_ ? static_cast<int>(FreeImage_GetWidth(picture_)) : 0;
}
int ImageBuffer::Height() const {
  return picture_ ? static_cast<int>(FreeImage_GetHeight(picture_)) : 0;
}
int ImageBuffer::Bpp() const { return picture_ ? static_cast<int>(FreeImage_GetBPP(picture_)) : 0; }

void ImageBuffer::Release() {
  if (picture_) FreeImage_Unload(picture_);
  picture_ = nullptr;
}

void ImageBuffer::ReleaseDocument() {
  Release();
  tiffPages_.Close();
  gifFrames_.Close();
}

void ImageBuffer::ReplacePicture(FIBITMAP* next) {
  if (next == picture_) return;
  CopyResolution(picture_, next);
  Adopt(next);
}

void ImageBuffer::Adopt(FIBITMAP* next) {
  if (next == picture_) return;
  Release();
  picture_ = next;
}

HRESULT ImageBuffer::QueryReserved(int, int, int* out) {
  if (out) *out = 0;
  return picture_ ? 1 : E_IMG_NOT_LOADED;
}

HRESULT ImageBuffer::Load(const std::string& path, int pageIndex) {
  int type = 0;
  CameraData decoded;
  const HRESULT hr = LoadPicture(path, pageIndex, type, decoded);
  if (Failed(hr)) return hr;
  cameraOrientation_ = 1;
  if (DecodedUpright(type)) {
    // The library turned the picture as the file says: it stands upright as loaded.
    camera_ = std::move(decoded);
    return hr;
  }
  camera_ = keepCameraData_ ? CameraDataOf(picture_) : CameraData{};
  if (!turnUpright_ && !keepCameraData_) return hr;
  cameraOrientation_ = type == FIF_TIFF && tiffPages_.Chain()
                           ? TiffOrientation(*tiffPages_.Chain(), pageIndex)
                           : RecordedOrientation(picture_);
  if (!turnUpright_ || cameraOrientation_ == 1) return hr;
  FIBITMAP* upright = TurnedUpright(picture_, cameraOrientation_);
  if (!upright) return E_IMG_LOAD;
  ReplacePicture(upright);
  cameraOrientation_ = 1;
  return hr;
}

HRESULT ImageBuffer::LoadPicture(const std::string& path, int pageIndex, int& type,
                                 CameraData& camera) {
  if (!IsSupportedType(path, true)) return E_IMG_CANNOT_READ_TYPE;
  type = GetImageType(path);
  // Only one multi-page file stays open: the one this load reads, if any.
  if (type != ImageTypeOwnGif) gifFrames_.Close();
  if (type != FIF_TIFF) tiffPages_.Close();
  if (DecodedUpright(type)) {
    DecodedPicture decoded;
    const HRESULT hr = type == ImageTypeJxl
                           ? (pageIndex == 0 ? LoadJxlPicture(path, decoded) : E_IMG_LOAD)
                           : LoadHeifImage(path, pageIndex, keepCameraData_, decoded);
    if (Failed(hr)) return hr;
    Adopt(decoded.picture);
    profile_ = std::move(decoded.profile);
    camera = std::move(decoded.camera);
    return S_OK;
  }
  if (type == ImageTypeOwnGif) {
    FIBITMAP* frame = nullptr;
    const HRESULT hr = gifFrames_.Load(path, pageIndex, &frame);
    if (Failed(hr) || !frame) return E_IMG_LOAD;
    Adopt(frame);
    profile_.clear();
    return S_OK;
  }
  const auto fif = static_cast<FREE_IMAGE_FORMAT>(type);
  // A page the decoder reports as truncated or corrupt fails, rather than converting with
  // its missing part black or grey.
  const LoadWatch watch;
  FIBITMAP* loaded = DecodeWithFreeImage(fif, path, pageIndex);
  if (loaded && watch.damage() != LoadDamage::None) {
    FreeImage_Unload(loaded);
    loaded = nullptr;
  }
  if (!loaded) return watch.CodeOr(E_IMG_LOAD);
  ColourProfile profile = ProfileOf(loaded);
  // FreeImage reads most layouts of half-float TIFF samples as raw 16-bit words.
  const bool halfFloat = fif == FIF_TIFF && tiffPages_.HalfFloatSamples(pageIndex);
  FIBITMAP* standard = halfFloat ? FromHalfFloatPage(loaded) : ToStandardBitmap(loaded);
  if (standard != loaded) {
    if (standard) CopyResolution(loaded, standard);
    FreeImage_Unload(loaded);
    if (!standard) return E_IMG_LOAD;
  }
  Adopt(standard);
  profile_ = std::move(profile);
  return S_OK;
}

// A header declaring a picture whose conversion would exceed the budget is refused before
// FreeImage allocates anything for it.
FIBITMAP* ImageBuffer::DecodeWithFreeImage(FREE_IMAGE_FORMAT fif, const std::string& path,
                                           int pageIndex) {
  if (fif == FIF_TIFF) {
    if (pageIndex < 0 || !tiffPages_.Open(path)) return nullptr;
    const std::optional<DeclaredPicture> declared = tiffPages_.PageHeader(pageIndex);
    if (declared && !DeclaredPictureAllowed(fif, *declared)) return nullptr;
    return tiffPages_.LoadPage(pageIndex);
  }
  if (!DeclaredSizeAllowed(fif, path, pageIndex)) return nullptr;
  return fif == FIF_BMP ? LoadBmp(path) : LoadWatchingReads(fif, path);
}

HRESULT ImageBuffer::Save(const std::string& path, int /*flags*/, int quality, int greyScale) {
  EncoderOptions options;
  options.quality = quality;
  options.greyScale = greyScale != 0;
  return SaveAs(path, options);
}

HRESULT ImageBuffer::SaveAs(const std::string& path, const EncoderOptions& options) {
  if (!picture_) return E_IMG_NOT_LOADED;
  if (!IsSupportedType(path, false)) return E_IMG_CANNOT_WRITE_TYPE;
  const int type = GetImageType(path);
  if (type == ImageTypeOwnGif) {
    if (Bpp() > 8) options.gifDither ? ToDitheredPalette() : ConvertToBitDepth(8);
    // A picture that could not be reduced is refused rather than written wrongly.
    if (Bpp() > 8) return E_FAIL;
    return Succeeded(WriteGif(path, picture_)) ? S_OK : E_FAIL;
  }
  AttachProfileFor(type, options.greyScale);
  if (type == ImageTypeAvif) return WriteAvif(picture_, path, options);
  if (type == ImageTypeJxl) return WriteJxl(picture_, path, options);
  const auto fif = static_cast<FREE_IMAGE_FORMAT>(type);
  // FreeImage writes a depth its writer has no layout for as a broken file (16-bit PNG or
  // TIFF) or fails badly on it (WebP below 24 bits) and reports success: such a picture is
  // refused instead.
  if (!FreeImage_FIFSupportsExportBPP(fif, Bpp())) return E_IMG_SAVE;
  const int flags = fif == FIF_JPEG   ? JpegFlags(options)
                    : fif == FIF_WEBP ? WebpFlags(options.quality)
                                      : 0;
  if (keepCameraData_ && (fif == FIF_JPEG || fif == FIF_TIFF))
    return SaveWithCameraData(fif, path, flags);
  return SaveCheckedToFile(fif, picture_, path, flags) ? S_OK : E_IMG_SAVE;
}

HRESULT ImageBuffer::ToDitheredPalette() {
  FIBITMAP* made = nullptr;
  const HRESULT hr = ConvertToDitheredPalette(picture_, &made);
  return TakeResult(hr, made);
}

// The kept camera data goes with the output, describing the picture written: JPEG's
// writer copies a raw EXIF block, a TIFF file has its directories added after FreeImage
// wrote it (FreeImage's TIFF writer would drop most of them).
HRESULT ImageBuffer::SaveWithCameraData(FREE_IMAGE_FORMAT fif, const std::string& path, int flags) {
  CameraData data = camera_;
  Describe(data, Width(), Height(), cameraOrientation_);
  if (fif == FIF_JPEG) {
    if (!AttachForJpeg(picture_, data)) return E_IMG_SAVE;
  } else {
    ClearCameraData(picture_);
  }
  if (!SaveCheckedToFile(fif, picture_, path, flags)) return E_IMG_SAVE;
  return fif == FIF_TIFF && !AddCameraDataToTiff(path, data) ? E_IMG_SAVE : S_OK;
}

HRESULT ImageBuffer::Scale(double factor) {
  if (!picture_) return E_IMG_NOT_LOADED;
  const double w = std::trunc(factor * Width());
  const double h = std::trunc(factor * Height());
  constexpr double kIntMax = std::numeric_limits<int>::max();
  if (!(w <= kIntMax && h <= kIntMax)) return E_INVALIDARG;  // also refuses NaN
  return Resize(static_cast<int>(w), static_cast<int>(h));
}

HRESULT ImageBuffer::Resize(int width, int height) {
  if (!picture_) return E_IMG_NOT_LOADED;
  if (width <= 0 || height <= 0) return E_INVALIDARG;
  if (Bpp() != 24 && Failed(ConvertToBitDepth(24))) return E_IMG_CONVERT;
  FIBITMAP* target = AllocatePicture(width, height, 24);
  if (!target) return E_OUTOFMEMORY;
  const int srcW = Width(), srcH = Height();
  const double fx = static_cast<double>(srcW) / width;
  const double fy = static_cast<double>(srcH) / height;
  const BYTE* srcBits = FreeImage_GetBits(picture_);
  const std::size_t srcPitch = FreeImage_GetPitch(picture_);
  // Block [start, end) of source positions for target position t; an empty block is
  // widened by one, positions past the picture are skipped.
  const auto block = [](double f, int t, int limit) {
    int start = static_cast<int>(std::floor(f * t)),
        end = static_cast<int>(std::floor(f * (t + 1)));
    if (end <= start) end = start + 1;
    return std::pair<int, int>{start, end > limit ? limit : end};
  };
  for (int i = 0; i < height; ++i) {
    const auto [y0, y1] = block(fy, i, srcH);
    BYTE* out = FreeImage_GetScanLine(target, i);
    for (int j = 0; j < width; ++j) {
      const auto [x0, x1] = block(fx, j, srcW);
      std::int64_t sum[3] = {0, 0, 0}, count = 0;
      for (int y = y0; y < y1; ++y) {
        const BYTE* row =
            srcBits + static_cast<std::size_t>(y) * srcPitch + 3 * static_cast<std::size_t>(x0);
        for (int x = x0; x < x1; ++x, row += 3, ++count)
          for (int c = 0; c < 3; ++c) sum[c] += row[c];
      }
      for (int c = 0; c < 3; ++c) out[3 * j + c] = count ? static_cast<BYTE>(sum[c] / count) : 0;
    }
  }
  ReplacePicture(target);
  return S_OK;
}

HRESULT ImageBuffer::EnsureBitDepth32() {
  if (!picture_) return E_IMG_NOT_LOADED;
  return Bpp() == 32 ? S_OK : ConvertToBitDepth(32);
}

template <typename Step>
HRESULT ImageBuffer::RunStep(Step step, const ConversionSettings& settings, bool takes24) {
  HRESULT hr = takes24 && Bpp() == 24 ? S_OK : EnsureBitDepth32();
  if (Failed(hr)) return hr;
  FIBITMAP* made = nullptr;
  hr = step(picture_, settings, &made);
  return TakeResult(hr, made);
}

HRESULT ImageBuffer::TakeResult(HRESULT hr, FIBITMAP* made) {
  if (!made) return hr;
  if (Failed(hr)) {
    FreeImage_Unload(made);
  } else {
    ReplacePicture(made);
  }
  return hr;
}

HRESULT ImageBuffer::ConvertToBitDepth(int bpp) {
  if (!picture_) return E_IMG_NOT_LOADED;
  FIBITMAP* made = nullptr;
  const HRESULT hr = ConvertBitDepth(picture_, bpp, &made);
  return TakeResult(hr, made);
}

HRESULT ImageBuffer::ToGrey8() {
  if (!picture_) return E_IMG_NOT_LOADED;
  FIBITMAP* made = nullptr;
  const HRESULT hr = ConvertToGrey8(picture_, &made);
  return TakeResult(hr, made);
}

HRESULT ImageBuffer::ApplySettings(const ConversionSettings& s) {
  if (!picture_) return E_IMG_NOT_LOADED;
  // An 8-bit grey destination gets its grey from the last step, not from the grey step.
  const OutputDepth out = OutputDepthFor(s.destFileExt, s.bpp);
  HRESULT hr = S_OK;
  // The resize reads a 24-bit picture as its 32-bit copy and makes a 32-bit one.
  if (s.resizeOption != NoResize || s.addPadding) hr = RunStep(ResizeAndFrame, s, true);
  if (Succeeded(hr) && s.rotateDegree != 0) hr = RunStep(Rotate, s);
  if (Succeeded(hr) && s.overlay) hr = RunStep(ApplyOverlay, s);
  if (Succeeded(hr) && s.greyScale && !out.grey) hr = RunStep(ConvertToGrey, s);
  if (Succeeded(hr) && s.createShadow) hr = RunStep(AddShadow, s);
  if (Failed(hr)) return hr;
  if (out.grey) return ToGrey8();
  // A dithered GIF keeps its colours until the save spreads them onto its palette.
  if (s.gifDither && out.bpp != 1 && GetImageType("abc." + s.destFileExt) == ImageTypeOwnGif)
    return S_OK;
  return Bpp() != out.bpp ? ConvertToBitDepth(out.bpp) : S_OK;
}

// The picture's colour profile is the one it was loaded with, whatever the steps kept of it:
// written where the format carries one and the output is in colour, absent otherwise, so a
// grey or palette output never claims a colour space it is not in (nor an RGB output the
// grey or CMYK space of its source, whose pixels were converted at load).
void ImageBuffer::AttachProfileFor(int type, bool greyOutput) {
  const bool carries = type == FIF_JPEG || type == FIF_PNG || type == FIF_TIFF ||
                       type == FIF_WEBP || type == ImageTypeAvif || type == ImageTypeJxl;
  const bool colour = !greyOutput && Bpp() > 8 && DescribesRgb(profile_);
  SetProfile(picture_, carries && colour ? profile_ : ColourProfile{});
}
