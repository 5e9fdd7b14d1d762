#include "support/ReferenceTools.h"

#include <unistd.h>

#include <sstream>

#include "support/ProgramRun.h"

namespace {

const char* const kCompare = R"(
import sys
from PIL import Image, ImageChops
def load(path):
    im = Image.open(path)
    im.load()
    if im.mode in ('I', 'I;16', 'I;16B'):
        im = im.point(lambda v: v * (1 / 256)).convert('L')
    return im
a, b = load(sys.argv[1]), load(sys.argv[2])
if a.size != b.size:
    print(-1, 0)
else:
    mode = 'RGBA' if 'A' in a.getbands() and 'A' in b.getbands() else 'RGB'
    d = ImageChops.difference(a.convert(mode), b.convert(mode))
    values = d.tobytes()
    print(max(hi for lo, hi in d.getextrema()), sum(values) / len(values))
)";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string MissingTools(const std::vector<std::string>& tools) {
  std::string missing;
  for (const std::string& tool : tools)
    if (access(tool.c_str(), X_OK) != 0) missing += tool + " ";
  return missing;
}

bool RunTool(const std::string& tool, const std::vector<std::string>& args) {
  std::vector<std::string> full = {"120", tool};
  full.insert(full.end(), args.begin(), args.end());
  return RunProgram("/usr/bin/timeout", full).exitCode == 0;
}

bool DecodeToPng(const std::string& picture, const std::string& png) {
  if (EndsWith(picture, ".webp")) return RunTool("/usr/bin/dwebp", {"-quiet", picture, "-o", png});
  if (EndsWith(picture, ".avif") || EndsWith(picture, ".heic"))
    return RunTool("/usr/bin/heif-convert", {"--quiet", picture, png});
  if (EndsWith(picture, ".jxl")) return RunTool("/usr/bin/djxl", {picture, png, "--quiet"});
  // ImageMagick 6 turns a bottom-up TGA file upside down; Pillow reads it right.
  if (EndsWith(picture, ".tga"))
    return RunTool("/usr/bin/python3", {"-c",
                                        "import sys; from PIL import Image; "
                                        "Image.open(sys.argv[1]).save(sys.argv[2])",
                                        picture, png});
  return RunTool("/usr/bin/convert", {picture, png});
}

PictureDifference DifferenceOf(const std::string& a, const std::string& b) {
  const RunResult r =
      RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kCompare, a, b});
  PictureDifference d;
  std::istringstream(r.out) >> d.largest >> d.mean;
  if (r.exitCode != 0) d.largest = -1;
  return d;
}

int LargestDifference(const std::string& a, const std::string& b) {
  return DifferenceOf(a, b).largest;
}
