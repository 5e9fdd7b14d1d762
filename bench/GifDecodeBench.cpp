// Speed of the GIF reader against FreeImage's own PNG encode of the same raster: an 8-bit
// 1024 x 768 photo-like picture (a gradient plus noise, reduced to 256 colours by Wu's
// quantiser) is written once as GIF by the program's encoder; the benchmarks decode that
// GIF from memory, load it from a file into the 32-bit picture the pipeline uses, and
// encode the 8-bit picture as PNG in memory with FreeImage's default settings.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/gif/GifDecoder.h"
#include "image/gif/GifRaster.h"
#include "image/gif/GifReader.h"
#include "image/gif/GifWriter.h"
#include "image/codec/PictureMemory.h"
#include "platform/FileRead.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

FIBITMAP* MakePhoto8() {
  FIBITMAP* rgb = AllocatePicture(kWidth, kHeight, 24);
  std::uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y) {
    BYTE* row = FreeImage_GetScanLine(rgb, y);
    for (int x = 0; x < kWidth; ++x, row += 3) {
      const int base[3] = {(x + y) * 255 / (kWidth + kHeight), y * 255 / kHeight, x * 255 / kWidth};
      for (int c = 0; c < 3; ++c) {
        seed = seed * 1664525u + 1013904223u;
        const int v = base[c] + static_cast<int>(seed >> 27) - 16;
        row[c] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
  FIBITMAP* eight = FreeImage_ColorQuantize(rgb, FIQ_WUQUANT);
  FreeImage_Unload(rgb);
  return eight;
}

// The picture and its GIF, made once; the file is removed at exit.
struct Fixture {
  Fixture() {
    FreeImage_Initialise(FALSE);
    picture = MakePhoto8();
    path = (std::filesystem::temp_directory_path() /
            ("bm-gif-bench-" + std::to_string(getpid()) + ".gif"))
               .string();
    if (!picture || WriteGif(path, picture) != 0 || !ReadWholeFile(path, std::size_t{1} << 30, gif))
      std::abort();
  }
  ~Fixture() {
    std::filesystem::remove(path);
    FreeImage_Unload(picture);
  }
  FIBITMAP* picture = nullptr;
  std::string path;
  std::vector<std::uint8_t> gif;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void GifDecodeFromMemory(benchmark::State& state) {
  const Fixture& f = Shared();
  for (auto _ : state) {
    GifRaster raster;
    if (!DecodeGifFrame(f.gif.data(), f.gif.size(), 0, kMaxPicturePixels, raster)) std::abort();
    benchmark::DoNotOptimize(raster.Row(0));
  }
  state.counters["gif_bytes"] = static_cast<double>(f.gif.size());
}
BENCHMARK(GifDecodeFromMemory)->Unit(benchmark::kMillisecond);

void GifLoadFrameFromFile(benchmark::State& state) {
  const Fixture& f = Shared();
  for (auto _ : state) {
    FIBITMAP* picture = nullptr;
    if (LoadGifFrame(f.path, 0, &picture) != 0) std::abort();
    FreeImage_Unload(picture);
  }
}
BENCHMARK(GifLoadFrameFromFile)->Unit(benchmark::kMillisecond);

void FreeImagePngEncode(benchmark::State& state) {
  const Fixture& f = Shared();
  for (auto _ : state) {
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (!FreeImage_SaveToMemory(FIF_PNG, f.picture, memory, PNG_DEFAULT)) std::abort();
    FreeImage_CloseMemory(memory);
  }
}
BENCHMARK(FreeImagePngEncode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
