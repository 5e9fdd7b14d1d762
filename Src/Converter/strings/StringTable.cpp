#include "strings/StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

struct Entry {
  int id;
  std::string_view text;
};

// Sorted by number, looked up by binary search.
constexpr std::array kTable = {
    Entry{128, "Brindlemark"},
    Entry{1016, "Conversion by a specified ratio."},
    Entry{1027, "Override existing files"},
    Entry{1043, "Version of this"},
    Entry{1060, "Enable Shadow Effect"},
    Entry{1062,
          "Box averages each block of pixels; Lanczos keeps more detail when reducing and "
          "enlarging"},
    Entry{1063, "Write JPEG files that show coarse first and sharpen as they load"},
    Entry{1064,
          "Spread each pixel's colour error onto its neighbours: smooth skies instead of "
          "bands"},
    Entry{32771, "Add selected files to conversion list\nAdd selected files to conversion list"},
    Entry{32772,
          "Remove selected files (hit delete in the list)\nRemove selected files(hit delete in the "
          "list)"},
    Entry{32773, "Start conversion\nStart conversion"},
    Entry{32774, "Add Folder\nAdd Folder"},
    Entry{32811, "Remove all files\nRemove all files"},
    Entry{32813,
          "View converted image with default viewer (double click to open)\nView converted image "
          "with default viewer (double click to open)"},
    Entry{32814, "View orginal image with default viewer\nView orginal image with default viewer"},
    Entry{32818, "Add Folder Recursively\nAdd Folder Recursively"},
    Entry{32819, "Turn pictures upright by the orientation their camera recorded\nRotate Upright"},
    Entry{32820,
          "Copy the date, camera, GPS position and other camera data to JPEG and TIFF "
          "outputs\nKeep Camera Data"},
    Entry{32840, "Save the current settings as a preset under a name\nSave Preset As"},
    Entry{32841, "Delete a saved preset\nDelete Preset"},
    Entry{32842, "Open the folder that holds the presets\nOpen Presets Folder"},
    Entry{32843, "Show or hide the preview of the selected picture\nToggle Preview"},
    Entry{57345, "Ready"},
    Entry{57664, "Display program information, version number and copyright\nAbout"},
    Entry{57665, "Quit the application\nExit"},
    Entry{57666, "Open the help contents\nHelp Contents"},
    Entry{59392, "Show or hide the toolbar\nToggle ToolBar"},
    Entry{59393, "Show or hide the status bar\nToggle StatusBar"},
    Entry{61208, "Add Files"},
    Entry{61209, "Remove Selected"},
    Entry{61210, "File Name"},
    Entry{61211, "Size"},
    Entry{61212, "Type"},
    Entry{61229, "Relative Path"},
    Entry{61231, "Folder %s doesn't exist. Do you want to create it?"},
    Entry{61232, "Failed to create directory %s."},
    Entry{61233, "Please choose a destination folder."},
    Entry{61234, "&OK"},
    Entry{61235, "Please choose a ratio larger than 0."},
    Entry{61236, "Please choose a width larger than 0."},
    Entry{61237, "Please choose a height larger than 0."},
    Entry{61238, "Please choose a zero padding not negative."},
    Entry{61239, "Please enter a destination file type."},
    Entry{61240, "Destination file type is not supported."},
    Entry{61241, "Wrong command line argument %s"},
    Entry{61242, "Wrong /m argument. Acceptable values are n,a,m,r,w,wr,h,hr"},
    Entry{61243, "Fail to create destination folder %s"},
    Entry{61244, "Log"},
    Entry{61245, "Width"},
    Entry{61246, "Height"},
    Entry{61247, "New Width"},
    Entry{61248, "New Height"},
    Entry{61249, "File %s already exists"},
    Entry{61250, "Failed to load image %s"},
    Entry{61251, "Failed to resize %s"},
    Entry{61252, "Failed to save %s"},
    Entry{61253, "Successfully converted %s to %s"},
    Entry{61259, "&Remove\t"},
    Entry{61260, "R&emove All"},
    Entry{61263, "Page Index"},
    Entry{61264, "Bit Depth"},
    Entry{61265, "New Bit Depth"},
    Entry{61266, "&View Original Image"},
    Entry{61267, "View &Converted Image"},
    Entry{61268, "Not Started"},
    Entry{61269, "Succeeded"},
    Entry{61270, "Failed"},
    Entry{61284, "Brindlemark %s"},
    Entry{61288, "Start"},
    Entry{61289, "Add Folder"},
    Entry{61290, "Remove All"},
    Entry{61300, "Failed to load image %s: the decoder crashed"},
    Entry{61301, "Failed to load image %s: the decoder ran past its time limit"},
    Entry{61302, "Failed to load image %s: the decoder ran out of memory"},
    Entry{61303, "Failed to convert %s: the worker crashed after loading it"},
    Entry{61304, "Failed to convert %s: the worker ran past its time limit"},
    Entry{61305, "Failed to convert %s: the worker ran out of memory"},
};

static_assert(std::is_sorted(kTable.begin(), kTable.end(),
                             [](const Entry& l, const Entry& r) { return l.id < r.id; }));

// Replaces each "%<conv>" of the format in turn with the next argument; "%%" is a percent.
template <typename Next>
std::string Fill(std::string_view format, char conv, Next next) {
  std::string out;
  out.reserve(format.size() + 64);
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == conv) {
        out += next();
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace

std::string_view LoadText(int id) {
  auto it = std::lower_bound(kTable.begin(), kTable.end(), id,
                             [](const Entry& e, int key) { return e.id < key; });
  return (it != kTable.end() && it->id == id) ? it->text : std::string_view{};
}

std::string_view PromptStatusText(int commandId) {
  const std::string_view prompt = LoadText(commandId);
  return prompt.substr(0, prompt.find('\n'));
}

std::string_view PromptToolTip(int commandId) {
  const std::string_view prompt = LoadText(commandId);
  const std::size_t cut = prompt.find('\n');
  return cut == std::string_view::npos ? std::string_view{} : prompt.substr(cut + 1);
}

std::string FillText(std::string_view format, std::string_view a, std::string_view b) {
  std::array<std::string_view, 2> args{a, b};
  std::size_t n = 0;
  return Fill(format, 's', [&]() { return std::string(n < args.size() ? args[n++] : ""); });
}

std::string FillNumbers(std::string_view format, int a, int b, int c) {
  std::array<int, 3> args{a, b, c};
  std::size_t n = 0;
  return Fill(format, 'd', [&]() { return std::to_string(n < args.size() ? args[n++] : 0); });
}

std::string FormatText(int id, std::string_view a, std::string_view b) {
  return FillText(LoadText(id), a, b);
}

std::string FormatText(int id, int a, int b, int c) { return FillNumbers(LoadText(id), a, b, c); }
