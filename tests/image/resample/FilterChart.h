// The test chart the resampling filters are judged on, drawn by Pillow and numpy: stripes
// of periods 3 to 7 pixels, across and down; a zone plate; 41 vertical and 41 horizontal
// lines one pixel wide, 13 pixels apart (every phase of a reduction by 5.85). Also the
// Python that measures an output against Pillow's own resampling of the chart.
#pragma once

#include <string>

#include "support/TestFiles.h"

constexpr int kChartWidth = 1200, kChartHeight = 1040;

constexpr const char* kMakeChart = R"(
import sys, numpy as np
from PIL import Image
img = np.full((1040, 1200), 255.0)
for i, p in enumerate(range(3, 8)):
    x0 = 40 + i * 220
    v = np.where((np.arange(200) % p) < p // 2, 0, 255)
    img[40:240, x0:x0 + 200] = v[None, :]
    img[260:460, x0:x0 + 200] = v[:, None]
yy, xx = np.mgrid[0:300, 0:300] - 150.0
img[480:780, 40:340] = 127.5 + 127.5 * np.cos(np.pi * (xx ** 2 + yy ** 2) / 300.0)
for k in range(41):
    img[480:1000, 380 + 13 * k] = 0
    img[480 + 13 * k, 920:1180] = 0
Image.fromarray(img.round().astype(np.uint8)).convert('RGB').save(sys.argv[1])
)";

// argv: the source and an output picture. Prints "psnr-lanczos psnr-box aliasing
// box-aliasing faintest-line box-faintest-line": PSNR in dB of the output's grey against
// Pillow's LANCZOS and BOX resampling of the source to the output's size; the mean standard
// deviation inside the stripe bands (all above the reduced picture's Nyquist limit, so
// ideally flat grey) of the output and of Pillow's BOX; the depth below white of the
// faintest one-pixel line, for the output and for Pillow's BOX. Only the PSNR is meaningful
// for an output larger than the chart's bands allow (an enlargement).
constexpr const char* kMeasure = R"(
import sys, numpy as np
from PIL import Image
src = Image.open(sys.argv[1]).convert('L')
out = Image.open(sys.argv[2]).convert('L')
size = out.size
fx, fy = src.size[0] / size[0], src.size[1] / size[1]
def grey(im): return np.asarray(im, dtype=np.float64)
def psnr(a, b): return 10 * np.log10(255 ** 2 / max(np.mean((a - b) ** 2), 1e-9))
def aliasing(o):
    s = []
    for i in range(5):
        x0 = 40 + i * 220
        a, b = int(np.ceil(x0 / fx)) + 2, int((x0 + 200) / fx) - 2
        s.append(o[int(40 / fy) + 2:int(240 / fy) - 2, a:b].std())
        s.append(o[int(260 / fy) + 2:int(460 / fy) - 2, a:b].std())
    return np.mean(s)
def faintest(o):
    d = []
    for k in range(41):
        c = (380 + 13 * k + 0.5) / fx
        d.append(255 - o[int(480 / fy) + 2:int(1000 / fy) - 2, max(0, int(c) - 1):int(c) + 2].mean(axis=0).min())
        r = (480 + 13 * k + 0.5) / fy
        d.append(255 - o[max(0, int(r) - 1):int(r) + 2, int(920 / fx) + 2:int(1180 / fx) - 2].mean(axis=1).min())
    return min(d)
o, box = grey(out), grey(src.resize(size, Image.BOX))
lanczos = grey(src.resize(size, Image.LANCZOS))
big = fx < 1
print('%.2f %.2f %.2f %.2f %.1f %.1f' % (psnr(o, lanczos), psnr(o, box),
      0 if big else aliasing(o), 0 if big else aliasing(box),
      0 if big else faintest(o), 0 if big else faintest(box)))
)";

struct ChartMeasure {
  double psnrLanczos = 0, psnrBox = 0, aliasing = 0, boxAliasing = 0, faintest = 0, boxFaintest = 0;
  bool ok = false;
  std::string error;
};

// Draws the chart into `path` with Pillow; false when Python fails.
inline bool MakeChart(const std::string& path) {
  return RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kMakeChart, path})
             .exitCode == 0;
}

inline ChartMeasure MeasureAgainstPillow(const std::string& chart, const std::string& output) {
  ChartMeasure m;
  const RunResult r =
      RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kMeasure, chart, output});
  m.error = r.err;
  m.ok = r.exitCode == 0 &&
         std::sscanf(r.out.c_str(), "%lf %lf %lf %lf %lf %lf", &m.psnrLanczos, &m.psnrBox,
                     &m.aliasing, &m.boxAliasing, &m.faintest, &m.boxFaintest) == 6;
  return m;
}
