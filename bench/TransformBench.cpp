// Speed of the transformation loops against the cost of decoding the picture they work
// on: FreeImage's decode of a 6000 x 4000 photo-like JPEG (made here: a smooth gradient
// plus noise, quality 90), the block-average resample of 6000 x 4000 to 1024 x 683, and
// the drop shadow with blur 8 on 1024 x 768; and a quarter turn of 6000 x 4000. The resample
// is timed from a 32-bit and from a 24-bit source, beside the 32-bit copy the latter saves.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/codec/FreeImageCall.h"
#include "image/Pixel.h"
#include "image/codec/PictureMemory.h"
#include "image/PixelView.h"
#include "image/resample/LanczosResample.h"
#include "image/resample/Resample.h"
#include "image/transform/Rotate.h"
#include "image/transform/ResizeGeometry.h"
#include "image/transform/Shadow.h"

namespace {

// A deterministic photo-like picture: gradients in each channel with noise of +-16; a
// 32-bit one is opaque, or with `alpha` fades from transparent on the left to opaque.
FIBITMAP* MakePhoto(int width, int height, int bpp, bool alpha = false) {
  FIBITMAP* picture = AllocatePicture(width, height, bpp);
  const int bytes = bpp / 8;
  std::uint32_t seed = 12345;
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(picture, y);
    for (int x = 0; x < width; ++x, row += bytes) {
      const int base[3] = {(x + y) * 255 / (width + height), y * 255 / height, x * 255 / width};
      for (int c = 0; c < 3; ++c) {
        seed = seed * 1664525u + 1013904223u;
        const int v = base[c] + static_cast<int>(seed >> 27) - 16;
        row[c] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
      if (bytes == 4) row[3] = alpha ? static_cast<BYTE>(x * 255 / width) : 0xFF;
    }
  }
  return picture;
}

// The JPEG file the decode benchmark reads, made once and removed at exit.
class PhotoFile {
 public:
  PhotoFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bm-bench-XXXXXX.jpg").string();
    const int fd = mkstemps(pattern.data(), 4);
    if (fd < 0) std::abort();
    close(fd);
    path_ = pattern;
    FIBITMAP* photo = MakePhoto(6000, 4000, 24);
    if (!FreeImage_Save(FIF_JPEG, photo, path_.c_str(), 90)) std::abort();
    FreeImage_Unload(photo);
  }
  ~PhotoFile() { std::filesystem::remove(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const PhotoFile& Photo() {
  static const PhotoFile file;
  return file;
}

void DecodeJpeg6000x4000(benchmark::State& state) {
  const std::string& path = Photo().path();
  for (auto _ : state) {
    FIBITMAP* decoded = FreeImage_Load(FIF_JPEG, path.c_str(), 0);
    benchmark::DoNotOptimize(decoded);
    FreeImage_Unload(decoded);
  }
}
BENCHMARK(DecodeJpeg6000x4000)->Unit(benchmark::kMillisecond);

// A 6000 x 4000 photo reduced to 1024 x 683, from a 32-bit picture or from the 24-bit
// picture a JPEG decodes to, read as it is.
void ResampleReduce6000x4000To1024x683(benchmark::State& state, int sourceBpp, bool alpha = false) {
  FIBITMAP* source = MakePhoto(6000, 4000, sourceBpp, alpha);
  FIBITMAP* target = AllocatePicture(1024, 683, 32);
  ConversionSettings s;
  s.resizeOption = FixedSize;
  s.width = 1024;
  s.height = 683;
  const ResizeGeometry g = ComputeResizeGeometry(s, 6000, 4000);
  const auto run = [&](const auto& from) {
    for (auto _ : state) {
      ResampleInto(from, g.sourceRect, ViewOf(target), g.placeRect, kOpaque);
      benchmark::ClobberMemory();
    }
  };
  if (sourceBpp == 24)
    run(RgbViewOf(source));
  else
    run(ConstViewOf(source));
  FreeImage_Unload(target);
  FreeImage_Unload(source);
}
// The same with the Lanczos filter.
void LanczosReduce6000x4000To1024x683(benchmark::State& state, int sourceBpp, bool alpha = false) {
  FIBITMAP* source = MakePhoto(6000, 4000, sourceBpp, alpha);
  FIBITMAP* target = AllocatePicture(1024, 683, 32);
  ConversionSettings s;
  s.resizeOption = FixedSize;
  s.width = 1024;
  s.height = 683;
  const ResizeGeometry g = ComputeResizeGeometry(s, 6000, 4000);
  const auto run = [&](const auto& from) {
    for (auto _ : state) {
      LanczosResampleInto(from, g.sourceRect, ViewOf(target), g.placeRect, kOpaque);
      benchmark::ClobberMemory();
    }
  };
  if (sourceBpp == 24)
    run(RgbViewOf(source));
  else
    run(ConstViewOf(source));
  FreeImage_Unload(target);
  FreeImage_Unload(source);
}
BENCHMARK_CAPTURE(LanczosReduce6000x4000To1024x683, From24Bits, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LanczosReduce6000x4000To1024x683, From32BitsWithAlpha, 32, true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(ResampleReduce6000x4000To1024x683, From32Bits, 32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ResampleReduce6000x4000To1024x683, From24Bits, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ResampleReduce6000x4000To1024x683, From32BitsWithAlpha, 32, true)
    ->Unit(benchmark::kMillisecond);

// The 32-bit copy of a decoded 24-bit picture, which the 24-bit resample does without.
void ConvertTo32Bits6000x4000(benchmark::State& state) {
  FIBITMAP* source = MakePhoto(6000, 4000, 24);
  for (auto _ : state) {
    FIBITMAP* made = FreeImage_ConvertTo32Bits(source);
    benchmark::DoNotOptimize(made);
    FreeImage_Unload(made);
  }
  FreeImage_Unload(source);
}
BENCHMARK(ConvertTo32Bits6000x4000)->Unit(benchmark::kMillisecond);

void AddShadowBlur8On1024x768(benchmark::State& state) {
  FIBITMAP* source = MakePhoto(1024, 768, 32);
  ConversionSettings s;
  s.shadowBlur = 8;
  for (auto _ : state) {
    FIBITMAP* made = nullptr;
    AddShadow(source, s, &made);
    benchmark::DoNotOptimize(made);
    FreeImage_Unload(made);
  }
  FreeImage_Unload(source);
}
BENCHMARK(AddShadowBlur8On1024x768)->Unit(benchmark::kMillisecond);

void RotateQuarter6000x4000(benchmark::State& state) {
  FIBITMAP* source = MakePhoto(6000, 4000, 32);
  for (auto _ : state) {
    FIBITMAP* made = nullptr;
    RotatePicture(source, 90, &made);
    benchmark::DoNotOptimize(made);
    FreeImage_Unload(made);
  }
  FreeImage_Unload(source);
}
BENCHMARK(RotateQuarter6000x4000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  StartFreeImage();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  StopFreeImage();
  return 0;
}
