#include "settings/PresetFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/ByteCodes.h"
#include "platform/FileRead.h"
#include "platform/FolderListing.h"
#include "platform/PathStatus.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsSerializer.h"

namespace {

constexpr std::string_view kVersionValue = "version";
constexpr std::uint32_t kVersion = 1;
// A preset is a few kilobytes; anything much larger is no preset.
constexpr std::size_t kMaxPresetBytes = 1u << 20;
constexpr std::string_view kForbidden = "\\:*?\"<>|";

std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text).push_back('"');
  return quoted;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessNoCase(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char x, unsigned char y) {
    return LowerAscii(static_cast<char>(x)) < LowerAscii(static_cast<char>(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lower)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lower)) return false;
  return a < b;  // names that differ only in case keep a fixed order
}

// The store of a whole record at its defaults: every stored value's name and type.
const RegistryStore& DefaultRecordStore() {
  static const RegistryStore store = [] {
    RegistryStore s;
    ConversionSettings defaults;
    SerializeSettings(s, defaults, Save);
    return s;
  }();
  return store;
}

// The first value of the file's BatchSetting key that the record knows but whose data has
// a length its type never has (a number not 4 bytes long, a real not 8); empty when none.
// Texts are read whatever their length.
std::string MalformedValue(const RegistryStore& file) {
  const RegistryStore& known = DefaultRecordStore();
  for (const std::string& name : file.ValueNames(StoreKeys::BatchSetting)) {
    const RegValue* sample = known.Query(StoreKeys::BatchSetting, name);
    const RegValue* value = file.Query(StoreKeys::BatchSetting, name);
    if (sample && sample->type != RegType::Sz && value->data.size() != sample->data.size())
      return name;
  }
  return {};
}

// Why a store text is not a whole preset, as the end of a sentence; empty when it is one.
std::string DamageOf(const RegistryStore& file, int unreadLine) {
  // The version is the file's last line: missing, or read from its first digits only, the
  // file was cut short (which may leave its last line half written).
  const RegValue* version = file.Query(StoreKeys::Preset, kVersionValue);
  const std::uint32_t number =
      version && version->data.size() == 4 ? ReadLE32(version->data.data()) : 0;
  if (number == 0) return "it is cut short";
  if (unreadLine > 0) return "line " + std::to_string(unreadLine) + " cannot be read";
  if (number != kVersion) return "it was written in a newer format";
  if (!file.KeyExists(StoreKeys::BatchSetting)) return "it holds no settings";
  const std::string malformed = MalformedValue(file);
  if (!malformed.empty()) return "the value " + Quoted(malformed) + " is malformed";
  return {};
}

// Whether a store text may be a preset, whole or damaged: the header first, and no key but
// the preset's own (the window's store has BatchSetting too, beside other keys). A text
// whose only key line is cut short counts as a damaged preset.
bool LooksLikePreset(std::string_view text, const RegistryStore& file, int unreadLine) {
  const std::string_view first = text.substr(0, text.find('\n'));
  if (first != "REGEDIT4" && first != "REGEDIT4\r") return false;
  const std::size_t own =
      std::size_t{file.KeyExists(StoreKeys::BatchSetting)} + file.KeyExists(StoreKeys::Preset);
  return own == file.KeyNames().size() && (own > 0 || unreadLine > 0);
}

std::string CannotRead(const std::string& path, std::string_view why) {
  return "Cannot read the preset " + path + ": " + std::string(why);
}

}  // namespace

std::string PresetsFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string base;
  if (xdg && xdg[0] == '/')
    base = xdg;
  else if (home && home[0])
    base = std::string(home) + "/.config";
  else
    return {};
  return base + "/Orrinvale/Brindlemark/presets";
}

bool IsPresetName(std::string_view nameOrPath) {
  return nameOrPath.find('/') == std::string_view::npos;
}

std::string PresetNameProblem(std::string_view name) {
  if (name.empty()) return "A preset needs a name.";
  if (name.size() > kMaxPresetNameBytes)
    return Quoted(name) + " cannot be a preset name: it is longer than " +
           std::to_string(kMaxPresetNameBytes) + " bytes.";
  const auto bad = [](unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '/' ||
           kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
  };
  const bool badEnds =
      name.front() == '.' || name.front() == ' ' || name.back() == '.' || name.back() == ' ';
  if (badEnds || std::any_of(name.begin(), name.end(), bad))
    return Quoted(name) +
           " cannot be a preset name: it may not start or end with a dot or a blank, nor hold "
           "control characters or any of / \\ : * ? \" < > |";
  return {};
}

std::string PresetFilePath(const std::string& folder, std::string_view name) {
  return folder + "/" + std::string(name) + std::string(kPresetExtension);
}

std::vector<std::string> PresetNames(const std::string& folder) {
  std::vector<FileEntry> entries;
  std::vector<std::string> names;
  if (folder.empty() || !ListFolder(folder, entries)) return names;
  for (const FileEntry& entry : entries) {
    const std::string& file = entry.name;
    if (!entry.regular || file.size() <= kPresetExtension.size() ||
        file.compare(file.size() - kPresetExtension.size(), std::string::npos, kPresetExtension) !=
            0)
      continue;
    std::string name = file.substr(0, file.size() - kPresetExtension.size());
    if (PresetNameProblem(name).empty()) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), LessNoCase);
  return names;
}

std::string PresetText(const ConversionSettings& settings) {
  RegistryStore store;
  ConversionSettings copy = settings;
  SerializeSettings(store, copy, Save);
  store.SetDword(StoreKeys::Preset, kVersionValue, kVersion);
  return store.ToText();
}

HRESULT ResolvePresetPath(std::string_view nameOrPath, std::string& path, std::string& message) {
  if (!IsPresetName(nameOrPath)) {
    path = std::string(nameOrPath);
    return S_OK;
  }
  message = PresetNameProblem(nameOrPath);
  if (!message.empty()) return E_INVALIDARG;
  const std::string folder = PresetsFolder();
  if (folder.empty()) {
    message = "There is no folder for presets: HOME and XDG_CONFIG_HOME are both unset.";
    return E_INVALIDARG;
  }
  path = PresetFilePath(folder, nameOrPath);
  return S_OK;
}

HRESULT WritePresetFile(const std::string& path, const ConversionSettings& settings,
                        std::string& message) {
  const std::string folder = FolderOf(path);
  if (IsFolder(path)) {
    message = "Cannot write the preset " + path + ": it is a folder";
    return E_FAIL;
  }
  // The presets folder is made on first use; a folder the user named must be there.
  if (folder != PresetsFolder() && !IsFolder(folder)) {
    message = "Cannot write the preset " + path + ": the folder " + folder + " does not exist";
    return E_FAIL;
  }
  RegistryStore store(path);
  store.MergeText(PresetText(settings));
  if (Failed(store.Flush())) {
    message = "Cannot write the preset " + path + ": " + std::strerror(errno);
    return E_FAIL;
  }
  return S_OK;
}

HRESULT ReadPresetFile(const std::string& path, ConversionSettings& settings, std::string& message,
                       std::string_view shownAs) {
  const auto refuse = [&](std::string text) {
    message = std::move(text);
    return E_INVALIDARG;
  };
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT) return refuse(CannotRead(path, std::strerror(errno)));
    if (!shownAs.empty() && IsPresetName(shownAs))
      return refuse("No preset named " + Quoted(shownAs) + " in " + FolderOf(path));
    return refuse(CannotRead(path, "no such file"));
  }
  // Checked before any open: a FIFO named like a preset would block the read.
  if (!S_ISREG(info.st_mode) || static_cast<std::uint64_t>(info.st_size) > kMaxPresetBytes)
    return refuse(path + " is not a preset file");
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, kMaxPresetBytes, bytes))
    return refuse(CannotRead(path, "it cannot be opened"));
  return ReadPresetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                        path, settings, message);
}

HRESULT ReadPresetText(std::string_view text, const std::string& path, ConversionSettings& settings,
                       std::string& message) {
  RegistryStore file;
  const int unreadLine = file.MergeText(text);
  if (!LooksLikePreset(text, file, unreadLine)) {
    message = path + " is not a preset file";
    return E_INVALIDARG;
  }
  const std::string damage = DamageOf(file, unreadLine);
  if (!damage.empty()) {
    message = "The preset " + path + " is damaged: " + damage;
    return E_INVALIDARG;
  }
  ConversionSettings read = settings;
  SerializeSettings(file, read, Load);
  settings = std::move(read);
  return S_OK;
}

HRESULT LoadPreset(std::string_view nameOrPath, ConversionSettings& settings,
                   std::string& message) {
  std::string path;
  const HRESULT resolved = ResolvePresetPath(nameOrPath, path, message);
  if (Failed(resolved)) return resolved;
  return ReadPresetFile(path, settings, message, nameOrPath);
}
