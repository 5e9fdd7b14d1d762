// Presets: the whole BatchSetting record of ConversionSettings saved under a name, one file
// each, in the settings store's text format. A preset file holds the "BatchSetting" key,
// written by the store's own serializer (so it carries every stored field), and then a
// "Preset" key with the format's version; the store writes keys in name order, so a file
// cut short anywhere lacks that last key and is told apart from a whole one.
//
// A preset is named or given by path: a text without "/" is a name, looked up as
// <presets folder>/<name>.preset; a text with "/" is the path of the file itself.
// Reading is strict, unlike the store's: a line that does not parse, a value of the wrong
// length or a missing version refuses the whole file, since a preset is an explicit
// choice and a half-read one would convert with values nobody chose. A value the record
// does not know is ignored (a newer program's field); one it knows but the file lacks
// takes its default. The values read are not checked here: runs pass them through
// ValidateSettings as any others.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

namespace StoreKeys {
constexpr std::string_view Preset = "Software\\Orrinvale\\Brindlemark\\Preset";
}  // namespace StoreKeys

constexpr std::string_view kPresetExtension = ".preset";
constexpr std::size_t kMaxPresetNameBytes = 200;

// $XDG_CONFIG_HOME (when set and absolute), else $HOME/.config, then
// "Orrinvale/Brindlemark/presets"; empty when neither variable gives a folder.
std::string PresetsFolder();

// Whether the text names a preset (no "/") rather than giving its file.
bool IsPresetName(std::string_view nameOrPath);
// Empty when `name` may name a preset file, else the sentence that says why not.
std::string PresetNameProblem(std::string_view name);
// <folder>/<name>.preset.
std::string PresetFilePath(const std::string& folder, std::string_view name);
// The names of the presets in a folder (files "<name>.preset" whose name is usable),
// sorted without regard to ASCII case; empty when the folder cannot be read.
std::vector<std::string> PresetNames(const std::string& folder);

// The bytes of the preset file of `settings`: its stored fields and the version.
std::string PresetText(const ConversionSettings& settings);

// Where a preset named or given by `nameOrPath` lives: 0 with `path` set, or E_INVALIDARG
// with `message` when the name is not usable or there is no presets folder. The file
// need not exist.
HRESULT ResolvePresetPath(std::string_view nameOrPath, std::string& path, std::string& message);

// Writes the preset file at `path` whole or not at all; the presets folder is created when
// `path` lies in it, any other folder must exist. 0, or E_FAIL with `message`.
HRESULT WritePresetFile(const std::string& path, const ConversionSettings& settings,
                        std::string& message);

// Reads the preset at `path` into the stored fields of `settings` (the others, such as the
// source, stay as they are). 0, or E_INVALIDARG with `message` and `settings` untouched
// when the file is missing, unreadable, not a preset or damaged. `shownAs` is how the
// preset was asked for, used in the message of a missing named preset.
HRESULT ReadPresetFile(const std::string& path, ConversionSettings& settings, std::string& message,
                       std::string_view shownAs = {});

// ReadPresetFile's checks and load on the file's text; `path` names it in the messages.
HRESULT ReadPresetText(std::string_view text, const std::string& path, ConversionSettings& settings,
                       std::string& message);

// ResolvePresetPath, then ReadPresetFile.
HRESULT LoadPreset(std::string_view nameOrPath, ConversionSettings& settings, std::string& message);
