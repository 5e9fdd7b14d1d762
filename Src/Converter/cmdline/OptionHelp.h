// The one table of command-line options for people: each option word with the form of
// its value and what it does. The usage text of --help and the manual page are both made
// from it, so the two never disagree.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct OptionHelpEntry {
  std::string_view name;     // the option word, as the parser knows it
  std::string_view value;    // the form of the value; empty for a flag
  std::string_view meaning;  // one sentence
};

// Every option the parser reads, in the order the help shows them.
std::span<const OptionHelpEntry> OptionHelpTable();
// --help and --version, which are answered before any option is parsed.
std::span<const OptionHelpEntry> InformationalSwitches();

// "-name:value", or "-name" for a flag.
std::string OptionSyntax(const OptionHelpEntry& entry);

// The entry for `name`, or nullptr.
const OptionHelpEntry* FindOptionHelp(std::string_view name);

// The text --help prints: synopsis, conventions, one line per option, exit codes.
std::string UsageText();
