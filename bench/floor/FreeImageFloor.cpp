// The floor of the benchmark: FreeImage's own decode, the least work each job needs, and
// FreeImage's encode, for every file of a folder. No converter built on FreeImage can do
// the same job in less time.
//
//   FreeImageFloor a|b|c|d SOURCE DEST
//   a: JPEG fitted into 1024 x 768 (box filter), JPEG quality 90
//   b: every page or frame to PNG unchanged
//   c: JPEG fitted into 800 x 600, Wu-quantised to 256 colours, GIF
//   d: JPEG to 8-bit grey, JPEG quality 90
#include <FreeImage.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The size that fits w x h into maxW x maxH keeping the aspect.
void Fit(int w, int h, int maxW, int maxH, int& outW, int& outH) {
  const double scale = std::min(static_cast<double>(maxW) / w, static_cast<double>(maxH) / h);
  outW = std::max(1, static_cast<int>(w * scale));
  outH = std::max(1, static_cast<int>(h * scale));
}

FIBITMAP* Rescaled(FIBITMAP* in, int maxW, int maxH) {
  int w, h;
  Fit(FreeImage_GetWidth(in), FreeImage_GetHeight(in), maxW, maxH, w, h);
  return FreeImage_Rescale(in, w, h, FILTER_BOX);
}

// Replaces *picture with next (when there is one) and frees the old picture.
bool Take(FIBITMAP*& picture, FIBITMAP* next) {
  if (!next) return false;
  FreeImage_Unload(picture);
  picture = next;
  return true;
}

bool Save(FREE_IMAGE_FORMAT fif, FIBITMAP* picture, const fs::path& path, int flags) {
  return FreeImage_Save(fif, picture, path.c_str(), flags);
}

bool JpegJob(char job, const fs::path& in, const fs::path& outDir) {
  FIBITMAP* p = FreeImage_Load(FIF_JPEG, in.c_str(), 0);
  if (!p) return false;
  bool ok = true;
  const fs::path stem = outDir / in.stem();
  if (job == 'a') {
    ok = Take(p, Rescaled(p, 1024, 768)) && Save(FIF_JPEG, p, stem.string() + ".jpg", 90);
  } else if (job == 'c') {
    ok = Take(p, Rescaled(p, 800, 600)) && Take(p, FreeImage_ColorQuantize(p, FIQ_WUQUANT)) &&
         Save(FIF_GIF, p, stem.string() + ".gif", 0);
  } else {
    ok = Take(p, FreeImage_ConvertToGreyscale(p)) && Save(FIF_JPEG, p, stem.string() + ".jpg", 90);
  }
  FreeImage_Unload(p);
  return ok;
}

// Every page of a TIFF or frame of a GIF becomes name-k.png; other files name.png.
bool PngJob(const fs::path& in, const fs::path& outDir) {
  const FREE_IMAGE_FORMAT fif = FreeImage_GetFIFFromFilename(in.c_str());
  if (fif == FIF_UNKNOWN) return true;
  const fs::path stem = outDir / in.stem();
  if (fif == FIF_TIFF || fif == FIF_GIF) {
    FIMULTIBITMAP* doc = FreeImage_OpenMultiBitmap(fif, in.c_str(), FALSE, TRUE, FALSE, 0);
    if (!doc) return false;
    bool ok = true;
    const int pages = FreeImage_GetPageCount(doc);
    for (int k = 0; k < pages && ok; ++k) {
      FIBITMAP* page = FreeImage_LockPage(doc, k);
      ok = page && Save(FIF_PNG, page, stem.string() + "-" + std::to_string(k) + ".png", 0);
      if (page) FreeImage_UnlockPage(doc, page, FALSE);
    }
    FreeImage_CloseMultiBitmap(doc, 0);
    return ok;
  }
  FIBITMAP* p = FreeImage_Load(fif, in.c_str(), 0);
  const bool ok = p && Save(FIF_PNG, p, stem.string() + ".png", 0);
  FreeImage_Unload(p);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]).size() != 1 ||
      std::string("abcd").find(argv[1][0]) == std::string::npos) {
    std::fprintf(stderr, "usage: FreeImageFloor a|b|c|d SOURCE DEST\n");
    return 2;
  }
  const char job = argv[1][0];
  FreeImage_Initialise(FALSE);
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(argv[2]))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  fs::create_directories(argv[3]);
  int failed = 0;
  for (const auto& f : files) {
    const bool ok = job == 'b' ? PngJob(f, argv[3]) : JpegJob(job, f, argv[3]);
    if (!ok) {
      std::fprintf(stderr, "failed: %s\n", f.c_str());
      ++failed;
    }
  }
  FreeImage_DeInitialise();
  return failed ? 1 : 0;
}
