#include "support/ReferenceTools.h"

#include <unistd.h>

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
    print(-1)
else:
    mode = 'RGBA' if 'A' in a.getbands() and 'A' in b.getbands() else 'RGB'
    d = ImageChops.difference(a.convert(mode), b.convert(mode))
    print(max(hi for lo, hi in d.getextrema()))
)";

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

int LargestDifference(const std::string& a, const std::string& b) {
  const RunResult r =
      RunProgram("/usr/bin/timeout", {"120", "/usr/bin/python3", "-c", kCompare, a, b});
  if (r.exitCode != 0 || r.out.empty()) return -1;
  return std::stoi(r.out);
}
