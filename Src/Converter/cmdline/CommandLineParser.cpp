#include "cmdline/CommandLineParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <functional>
#include <unordered_map>

#include "platform/ByteCodes.h"
#include "settings/PresetFile.h"
#include "settings/ValidateSettings.h"
#include "strings/StringTable.h"

namespace {

constexpr const char* kSourceAndList = "Give -source or -sourcelist, not both.";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

using OptionSetter = std::function<bool(ConversionSettings&, std::string_view)>;

// Setter helpers: each returns true when the value is accepted.
OptionSetter SetInt(int ConversionSettings::*field) {
  return [field](ConversionSettings& s, std::string_view v) {
    s.*field = ReadInt(v);
    return true;
  };
}
OptionSetter SetPercent(double ConversionSettings::*field) {
  return [field](ConversionSettings& s, std::string_view v) {
    s.*field = ReadDouble(v) * 0.01;
    return true;
  };
}
OptionSetter SetColour(COLORREF ConversionSettings::*field) {
  return [field](ConversionSettings& s, std::string_view v) {
    s.*field = HexToColorref(v);
    return true;
  };
}
OptionSetter SetText(std::string ConversionSettings::*field) {
  return [field](ConversionSettings& s, std::string_view v) {
    s.*field = std::string(v);
    return true;
  };
}
OptionSetter SetFlag(bool ConversionSettings::*field, bool value = true) {
  return [field, value](ConversionSettings& s, std::string_view) {
    s.*field = value;
    return true;
  };
}
// An int option that also sets a flag (portrait sizes clear sameForPortrait, frame sizes set
// addPadding).
OptionSetter SetIntAndFlag(int ConversionSettings::*field, bool ConversionSettings::*flag,
                           bool value) {
  return [field, flag, value](ConversionSettings& s, std::string_view v) {
    s.*field = ReadInt(v);
    s.*flag = value;
    return true;
  };
}

const std::unordered_map<std::string_view, OptionSetter>& Options() {
  using S = ConversionSettings;
  static const std::unordered_map<std::string_view, OptionSetter> options = {
      {"mode",
       [](S& s, std::string_view v) {
         auto mode = ResizeOptionFromLetter(v);
         if (mode) s.resizeOption = *mode;
         return mode.has_value();
       }},
      {"width", SetInt(&S::width)},
      {"height", SetInt(&S::height)},
      {"portraitwidth", SetIntAndFlag(&S::portraitWidth, &S::sameForPortrait, false)},
      {"portraitheight", SetIntAndFlag(&S::portraitHeight, &S::sameForPortrait, false)},
      {"ratio", SetPercent(&S::ratio)},
      {"cropleft", SetPercent(&S::cropLeftRatio)},
      {"croptop", SetPercent(&S::cropTopRatio)},
      {"rotate", SetInt(&S::rotateDegree)},
      {"ext",
       [](S& s, std::string_view v) {
         if (!v.empty() && v.front() == '.') v.remove_prefix(1);  // "-ext:.jpg" means jpg
         s.destFileExt = std::string(v);
         return true;
       }},
      {"filter",
       [](S& s, std::string_view v) {
         auto filter = ResampleFilterFromName(v);
         if (filter) s.filter = *filter;
         return filter.has_value();
       }},
      {"bpp", SetInt(&S::bpp)},
      {"greyscale", SetFlag(&S::greyScale)},
      {"keepmetadata", SetFlag(&S::keepMetadata)},
      {"autorotate", SetFlag(&S::autoRotate)},
      {"paddingvert", SetIntAndFlag(&S::paddingVert, &S::addPadding, true)},
      {"paddinghorz", SetIntAndFlag(&S::paddingHorz, &S::addPadding, true)},
      {"paddingcolor", SetColour(&S::paddingColor)},
      {"createshadow", SetFlag(&S::createShadow)},
      {"shadowopaque", SetPercent(&S::shadowOpaque)},
      {"shadowdistance", SetInt(&S::shadowDistance)},
      {"shadowangle", SetInt(&S::shadowAngle)},
      {"shadowblur", SetInt(&S::shadowBlur)},
      {"shadowbackcolor", SetColour(&S::shadowBackColor)},
      {"shadowcolor", SetColour(&S::shadowColor)},
      {"overlayfile",
       [](S& s, std::string_view v) {
         s.overlayFilePath = std::string(v);
         s.overlay = true;
         return true;
       }},
      {"overlayhalign", SetPercent(&S::overlayHAlignRatio)},
      {"overlayvalign", SetPercent(&S::overlayVAlignRatio)},
      {"overlaytransparency", SetPercent(&S::overlayTransparency)},
      {"overlaytransparentcolor",
       [](S& s, std::string_view v) {
         s.overlayTransparentClr = LeadingHexValue(v);
         return true;
       }},
      {"zeropadding", SetInt(&S::zeroPadding)},
      {"override", SetFlag(&S::override)},
      {"samedir", SetFlag(&S::sameDir)},
      {"prefix", SetText(&S::prefix)},
      {"suffix", SetText(&S::suffix)},
      {"dest", SetText(&S::destFolder)},
      {"source", SetText(&S::source)},
      {"sourcelist", SetText(&S::sourceList)},
      {"norecursive", SetFlag(&S::recursive, false)},
      {"threads", SetInt(&S::threads)},
      {"timeout", SetInt(&S::timeoutSeconds)},
      {"progressive", SetFlag(&S::progressive)},
      {"gifdither", SetFlag(&S::gifDither)},
      {"jpegquality",
       [](S& s, std::string_view v) {
         auto word = JpegQualityFromWord(v);
         s.jpegQualityNew = word ? *word : ReadInt(v);
         return true;
       }},
  };
  return options;
}

// Options whose refusal has a text of its own: false with `message` set.
using CheckedSetter = std::function<bool(ConversionSettings&, std::string_view, std::string&)>;

const std::unordered_map<std::string_view, CheckedSetter>& CheckedOptions() {
  using S = ConversionSettings;
  static const std::unordered_map<std::string_view, CheckedSetter> options = {
      // The preset's values replace every stored field at this point of the line; the
      // options after it override them.
      {"preset", [](S& s, std::string_view v,
                    std::string& message) { return Succeeded(LoadPreset(v, s, message)); }},
      {"savepreset",
       [](S& s, std::string_view v, std::string& message) {
         return Succeeded(ResolvePresetPath(v, s.savePreset, message));
       }},
  };
  return options;
}

// A preset need not name a destination folder; everything else is checked as for a run.
HRESULT ValidateForPreset(const ConversionSettings& settings, std::string& message) {
  static const std::string kWorkingFolder = ".";
  ConversionSettings check = settings;
  if (check.destFolder.empty()) check.destFolder = kWorkingFolder;
  SettingsPage page;
  SettingsField field;
  return ValidateSettings(check, message, page, field);
}

// Applies one token; false with `message` set when it is refused.
bool ApplyToken(const std::string& token, ConversionSettings& settings, std::string& message) {
  const auto refuse = [&](std::string text) {
    message = std::move(text);
    return false;
  };
  const std::string wrong = FormatText(Ids::WrongArgument, token);
  if (token.size() > kMaxTokenBytes || token.size() < 2 || (token[0] != '/' && token[0] != '-'))
    return refuse(wrong);
  const std::string_view body = std::string_view(token).substr(1);
  const auto colon = body.find(':');
  const std::string_view name = body.substr(0, colon);
  const std::string_view value =
      colon == std::string_view::npos ? std::string_view{} : body.substr(colon + 1);
  const auto& checked = CheckedOptions();
  if (const auto option = checked.find(name); option != checked.end())
    return option->second(settings, value, message);
  const auto& options = Options();
  const auto option = options.find(name);
  if (option == options.end()) return refuse(wrong);
  // A value an option refuses: the mode has its own text, any other names the token.
  if (!option->second(settings, value))
    return refuse(name == "mode" ? std::string(LoadText(Ids::WrongModeArgument)) : wrong);
  return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
  std::vector<std::string> tokens;
  std::string current;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (IsBlank(c) && !quoted) {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  return tokens;
}

std::vector<std::string> TokensFromArguments(int argc, const char* const* argv) {
  std::vector<std::string> tokens;
  for (int i = 0; i < argc; ++i) {
    std::string token;
    for (const char* p = argv[i]; *p; ++p)
      if (*p != '"') token += *p;
    // An argument of blanks only is no option, as blanks at the end of a command line are not.
    if (token.find_first_not_of(" \t") != std::string::npos) tokens.push_back(std::move(token));
  }
  return tokens;
}

HRESULT ParseCommandLine(const std::vector<std::string>& tokens, ConversionSettings& settings,
                         std::string& message) {
  for (const std::string& token : tokens)
    if (!ApplyToken(token, settings, message)) return E_INVALIDARG;
  if (!settings.source.empty() && !settings.sourceList.empty()) {
    message = kSourceAndList;
    return E_INVALIDARG;
  }
  if (!settings.savePreset.empty()) return ValidateForPreset(settings, message);
  SettingsPage page;
  SettingsField field;
  return ValidateSettings(settings, message, page, field);
}

HRESULT ParseCommandLine(std::string_view text, ConversionSettings& settings,
                         std::string& message) {
  return ParseCommandLine(SplitCommandLine(text), settings, message);
}

std::vector<std::string> CommandLineOptionNames() {
  std::vector<std::string> names;
  for (const auto& [name, setter] : Options()) names.emplace_back(name);
  for (const auto& [name, setter] : CheckedOptions()) names.emplace_back(name);
  std::sort(names.begin(), names.end());
  return names;
}

std::uint32_t HexToColorref(std::string_view text) {
  const std::uint32_t rgb = LeadingHexValue(text);
  return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

int ReadInt(std::string_view text) {
  text = SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

double ReadDouble(std::string_view text) {
  text = SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  double value = 0.0;
  // from_chars takes a "-" of its own: after the sign already read, that would be a second.
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) return 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) value = 0.0;
  (void)end;
  return negative ? -value : value;
}
