// The program's own GIF encoder against FreeImage's PNG encoder on the same photo-like
// 1024 x 768 picture of 256 colours (gradient plus noise, reduced by Wu's quantiser), both
// into memory.
#include <benchmark/benchmark.h>

#include <FreeImage.h>

#include <random>
#include <string>

#include "image/codec/BitmapRaster.h"
#include "image/gif/GifEncode.h"

namespace {

FIBITMAP* PhotoLike(int width, int height) {
  FIBITMAP* rgb = FreeImage_Allocate(width, height, 24);
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> noise(-24, 24);
  const auto clamp = [](int v) { return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(rgb, y);
    for (int x = 0; x < width; ++x) {
      row[3 * x + 0] = clamp(255 * x / width + noise(random));
      row[3 * x + 1] = clamp(255 * y / height + noise(random));
      row[3 * x + 2] = clamp(128 + (x - y) / 8 + noise(random));
    }
  }
  FIBITMAP* reduced = FreeImage_ColorQuantize(rgb, FIQ_WUQUANT);
  FreeImage_Unload(rgb);
  return reduced;
}

FIBITMAP* Picture() {
  static FIBITMAP* picture = PhotoLike(1024, 768);
  return picture;
}

void GifEncode8Bit1024x768(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    GifRaster raster;
    RasterFromBitmap(Picture(), raster);
    std::string out;
    EncodeGif(raster, out);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(GifEncode8Bit1024x768)->Unit(benchmark::kMillisecond);

void FreeImagePngEncode8Bit1024x768(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    FIMEMORY* memory = FreeImage_OpenMemory();
    FreeImage_SaveToMemory(FIF_PNG, Picture(), memory, PNG_DEFAULT);
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory, &data, &size);
    bytes = size;
    FreeImage_CloseMemory(memory);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(FreeImagePngEncode8Bit1024x768)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
