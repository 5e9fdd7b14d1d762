#include "cmdline/OptionHelp.h"

#include <algorithm>
#include <array>
#include <vector>

#include "settings/ConversionSettings.h"
#include "settings/ResizeOption.h"

namespace {

// "fc|fp|m|...", from the mode table.
std::string ModeLetters() {
  std::string text;
  for (int mode = 0; mode < kResizeOptionCount; ++mode)
    text.append(mode ? "|" : "").append(ResizeOptionLetter(mode));
  return text;
}

// "Resize rule: <phrase> (<letter>), ...; the default is <letter>.", from the mode table.
std::string ModeMeaning() {
  std::string text = "Resize rule: ";
  for (int mode = 0; mode < kResizeOptionCount; ++mode)
    text.append(mode ? ", " : "")
        .append(ResizeOptionPhrase(mode))
        .append(" (")
        .append(ResizeOptionLetter(mode))
        .append(")");
  return text.append("; the default is ")
      .append(ResizeOptionLetter(ConversionSettings{}.resizeOption))
      .append(".");
}

// Made on first use: the resize rule's entry points into two texts built from the mode table.
const std::vector<OptionHelpEntry>& Options() {
  static const std::string modeLetters = ModeLetters(), modeMeaning = ModeMeaning();
  static const std::vector<OptionHelpEntry> options = {
      {"source", "<file or folder>", "The picture or the folder of pictures to convert."},
      {"sourcelist", "<file>|-",
       "A file listing pictures and folders to convert in one run, one per line (-: standard "
       "input); blank lines are ignored. With samedir each keeps the path it is listed with "
       "below the destination. Not together with source."},
      {"dest", "<folder>",
       "The folder the converted pictures are written to; created when missing."},
      {"preset", "<name>|<file>",
       "Start from a saved preset's values: a name without / is the file <name>.preset in "
       "the presets folder ($XDG_CONFIG_HOME or ~/.config, then Orrinvale/Brindlemark/presets), "
       "a path is the file itself. Options before it are replaced by its values; options after "
       "it override them."},
      {"savepreset", "<name>|<file>",
       "Write the options of this command line as a preset (named or at the path given, as for "
       "preset) and convert nothing; no source or destination is needed."},
      {"mode", modeLetters, modeMeaning},
      {"width", "<pixels>", "Target width (default 150)."},
      {"height", "<pixels>", "Target height (default 100)."},
      {"portraitwidth", "<pixels>", "Target width for portrait pictures."},
      {"portraitheight", "<pixels>", "Target height for portrait pictures."},
      {"ratio", "<percent>", "Scale of mode r (50 is half size)."},
      {"cropleft", "<percent>",
       "Horizontal place of the kept window (crop) or of the picture (pad)."},
      {"croptop", "<percent>", "Vertical place of the kept window (crop) or of the picture (pad)."},
      {"rotate", "0|90|180|270", "Clockwise quarter turns."},
      {"ext", "<extension>",
       "Destination type (default jpg): jpg, png, bmp, tif, tga, gif, webp, avif, jxl, ..."},
      {"filter", "box|lanczos",
       "Resampling filter: box (the default) averages the pixels when reducing and repeats "
       "them when enlarging; lanczos (Lanczos-3) is sharper both ways."},
      {"bpp", "1|8|16|24|32",
       "Destination bit depth (default 24); a type that cannot hold it is refused with the "
       "depths it takes. JPEG is written grey at 8 and in colour (24) otherwise."},
      {"jpegquality", "<1-100>|bad|average|normal|good|better|superb",
       "Quality of JPEG, WebP, AVIF and JPEG XL outputs (default 80); at 100 WebP and JPEG XL "
       "are lossless; from 90 up JPEG keeps the colour at full resolution (4:4:4)."},
      {"progressive", "", "Write progressive JPEG files."},
      {"gifdither", "", "Dither GIF outputs (Floyd-Steinberg) onto their palette."},
      {"greyscale", "", "Turn the pictures grey."},
      {"autorotate", "", "Turn pictures upright by their camera orientation before every step."},
      {"keepmetadata", "",
       "Keep camera data (date, camera, GPS position) on JPEG and TIFF outputs, updated."},
      {"paddingvert", "<pixels>", "Frame width left and right; adds a frame."},
      {"paddinghorz", "<pixels>", "Frame height above and below; adds a frame."},
      {"paddingcolor", "<RRGGBB>", "Frame colour."},
      {"createshadow", "", "Add a drop shadow."},
      {"shadowopaque", "<percent>", "Opacity of the shadow."},
      {"shadowdistance", "<pixels>", "Distance of the shadow from the picture."},
      {"shadowangle", "<degrees>", "Direction of the shadow."},
      {"shadowblur", "<pixels>", "Blur radius of the shadow."},
      {"shadowcolor", "<RRGGBB>", "Shadow colour."},
      {"shadowbackcolor", "<RRGGBB>", "Background colour behind the shadow."},
      {"overlayfile", "<file>", "Overlay this picture on every picture."},
      {"overlayhalign", "<percent>", "Horizontal place of the overlay."},
      {"overlayvalign", "<percent>", "Vertical place of the overlay."},
      {"overlaytransparency", "<percent>", "Transparency of the overlay."},
      {"overlaytransparentcolor", "<hex>", "Colour of the overlay that is not drawn, as written."},
      {"prefix", "<text>", "Text put before each destination name."},
      {"suffix", "<text>", "Text put after each destination name."},
      {"zeropadding", "<digits>", "Digits of the page number in destination names."},
      {"samedir", "", "Keep the source's folder structure under the destination."},
      {"override", "", "Replace destination files that exist."},
      {"norecursive", "", "Do not descend into subfolders of the source folder."},
      {"threads", "<count>",
       "Workers converting at once; 0 or absent: one per processor, as memory allows; 1: one "
       "picture at a time."},
      {"timeout", "<seconds>",
       "Time limit of one picture: the seconds given, plus as many again for every 32 MiB of its "
       "file and every 16 megapixels of its picture; 0: no limit; absent: 60."},
  };
  return options;
}

// Switches that run nothing: written with two dashes, handled before the option parser.
constexpr std::array<OptionHelpEntry, 2> kInformational = {{
    {"help", "", "Print this text and exit."},
    {"version", "", "Print the versions of the program, FreeImage and wxWidgets and exit."},
}};

// The usage synopsis names the launcher's command; the options are the same for both programs.
constexpr std::string_view kSynopsis =
    "Usage: brindlemark -source:<file or folder> -dest:<folder> [options]\n"
    "       brindlemark -savepreset:<name> [options]   (save a preset only)\n"
    "       brindlemark              (no arguments: open the window)\n"
    "       brindlemark --help | --version\n"
    "\n"
    "Converts one picture or a folder of pictures. Options start with / or -, are\n"
    "case-sensitive, and take their value after the first ':'. Percentages are\n"
    "numbers of percent; colours are hexadecimal RRGGBB.\n"
    "\n"
    "Options:\n";

constexpr std::string_view kExitCodes =
    "\n"
    "Each page gets a line \"SUCCESS: converted file <source> to <destination>\" or\n"
    "\"ERROR: failed to convert file <source> to <destination> Reason: <why>\", then a\n"
    "summary line. Exit status: 0 when every page converted, 1 otherwise.\n";

// "  option  meaning", the meaning in a column from kIndent, wrapped at word ends to stay
// within kWidth; an option too long for its column puts the meaning on the next line.
void AppendLine(std::string& text, const std::string& option, std::string_view meaning) {
  constexpr std::size_t kIndent = 26, kWidth = 79;
  std::size_t column = 2 + option.size();
  text.append("  ").append(option);
  if (column + 1 > kIndent) {
    text.append("\n");
    column = 0;
  }
  text.append(kIndent - column, ' ');
  column = kIndent;
  while (!meaning.empty()) {
    const std::size_t end = meaning.find(' ');
    const std::string_view word = meaning.substr(0, end);
    if (column > kIndent && column + 1 + word.size() > kWidth) {
      text.append("\n").append(kIndent, ' ');
      column = kIndent;
    } else if (column > kIndent) {
      text.append(" ");
      ++column;
    }
    text.append(word);
    column += word.size();
    meaning.remove_prefix(end == std::string_view::npos ? meaning.size() : end + 1);
  }
  text.append("\n");
}

}  // namespace

std::span<const OptionHelpEntry> OptionHelpTable() { return Options(); }
std::span<const OptionHelpEntry> InformationalSwitches() { return kInformational; }

std::string OptionSyntax(const OptionHelpEntry& entry) {
  std::string text = "-";
  text += entry.name;
  if (!entry.value.empty()) text.append(":").append(entry.value);
  return text;
}

const OptionHelpEntry* FindOptionHelp(std::string_view name) {
  const auto& options = Options();
  const auto found =
      std::find_if(options.begin(), options.end(),
                   [name](const OptionHelpEntry& entry) { return entry.name == name; });
  return found == options.end() ? nullptr : &*found;
}

std::string UsageText() {
  std::string text(kSynopsis);
  for (const OptionHelpEntry& entry : Options())
    AppendLine(text, OptionSyntax(entry), entry.meaning);
  for (const OptionHelpEntry& entry : kInformational)
    AppendLine(text, std::string("--").append(entry.name), entry.meaning);
  text += kExitCodes;
  return text;
}
