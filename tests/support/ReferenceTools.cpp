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

const char* const kMakeProfiled = R"(
import sys
from PIL import Image, ImageCms
d = sys.argv[1]
srgb = ImageCms.ImageCmsProfile(ImageCms.createProfile('sRGB')).tobytes()
wide = srgb.replace('built'.encode('utf-16-be'), 'wider'.encode('utf-16-be'))
open(d + '/wide.icc', 'wb').write(wide)
Image.radial_gradient('L').resize((64, 48)).convert('RGB').save(d + '/wide.png', icc_profile=wide)
)";

const char* const kReadProfile = R"(
import subprocess, sys
from PIL import Image
path = sys.argv[1]
if path.endswith('.avif'):
    icc = subprocess.run(['/usr/bin/exiftool', '-b', '-ICC_Profile', path], capture_output=True).stdout
else:
    if path.endswith('.jxl'):
        subprocess.run(['/usr/bin/djxl', path, path + '.png', '--quiet'], check=True)
        path += '.png'
    icc = Image.open(path).info.get('icc_profile') or b''
sys.stdout.buffer.write(icc)
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

bool WriteProfiledPicture(const std::string& folder) {
  return RunTool("/usr/bin/python3", {"-c", kMakeProfiled, folder});
}

std::string ProfileOfFile(const std::string& path) {
  return RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kReadProfile, path}).out;
}
