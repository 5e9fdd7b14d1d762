// The command-line options: splitting the text into tokens, reading each "/name:value"
// (or "-name:value") token into a ConversionSettings, and validating the result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// The longest token the parser accepts, in bytes; a longer one is refused whole rather
// than cut short into a different path.
constexpr std::size_t kMaxTokenBytes = 259;

// Splits at whitespace; a double quote switches quoting on and off and is never part of
// a token; empty tokens are dropped.
std::vector<std::string> SplitCommandLine(std::string_view text);

// The tokens of an argument vector (without the program's own name): each argument that
// holds more than blanks is one token, with its double quotes removed.
std::vector<std::string> TokensFromArguments(int argc, const char* const* argv);

// Fills `settings` (already at its defaults) from the tokens, stopping at the first faulty
// one, then validates it; "source" and "sourcelist" together are refused. "preset" reads
// a preset file at its place in the line; with "savepreset" no destination is needed.
// 0, or E_INVALIDARG with `message` set.
HRESULT ParseCommandLine(const std::vector<std::string>& tokens, ConversionSettings& settings,
                         std::string& message);
HRESULT ParseCommandLine(std::string_view text, ConversionSettings& settings, std::string& message);

// Every option word the parser accepts, sorted.
std::vector<std::string> CommandLineOptionNames();

// Hex RRGGBB as a COLORREF 0x00BBGGRR (bits 24-31 dropped).
std::uint32_t HexToColorref(std::string_view text);

// Numbers read as the C runtime's atoi and atof would, in the C locale: leading
// whitespace and a sign allowed, reading stops at the first character that does not fit,
// no digits give 0. Integers saturate at the int range.
int ReadInt(std::string_view text);
double ReadDouble(std::string_view text);
