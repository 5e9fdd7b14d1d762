// RegistryStore: the windowed program's small key/value store, with the vocabulary of a
// registry. Keys are backslash paths ("Software\Orrinvale\Brindlemark\Window"); each
// value has a name, a type (DWORD, SZ, BINARY) and raw bytes, so a reader can apply its
// own rules to the exact length of the data. The store lives in memory and is kept in a
// human-readable REGEDIT4-style text file: Load reads whatever lines of it parse (a
// damaged file loses only its damaged lines), Flush writes a temporary file and renames
// it over the old one, so a crash never leaves a half-written store. Key and value names
// match without regard to ASCII case, as in a registry.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

enum class RegType : std::uint32_t { Sz = 1, Binary = 3, Dword = 4 };

struct RegValue {
  RegType type = RegType::Binary;
  std::vector<std::uint8_t> data;
  bool operator==(const RegValue&) const = default;
};

class RegistryStore {
 public:
  // A store kept in `filePath`; an empty path keeps it in memory only.
  explicit RegistryStore(std::string filePath = {});

  const std::string& FilePath() const { return filePath_; }

  // Replaces the contents with what the file holds; a missing or unreadable file gives
  // an empty store. Never fails.
  void Load();
  // Writes the whole store to its file (folders created as needed), atomically.
  HRESULT Flush() const;

  // Adds the parseable keys and values of a store text to the contents. Returns the number
  // (from 1) of the first line that could not be read, 0 when every line was read; blank
  // lines, comments and the header count as read.
  int MergeText(std::string_view text);
  // The store as text: "REGEDIT4", then every key with its values, in name order.
  std::string ToText() const;

  // Creates the key when missing; true when it was created.
  bool CreateKey(std::string_view key);
  bool KeyExists(std::string_view key) const;
  // The names of the keys, and of the values of one key (empty when it does not exist), in
  // the order the text is written in.
  std::vector<std::string> KeyNames() const;
  std::vector<std::string> ValueNames(std::string_view key) const;
  // The value, or nullptr when the key or the value does not exist.
  const RegValue* Query(std::string_view key, std::string_view name) const;
  // Sets a value, creating its key. A name holding a line break or a NUL is refused.
  bool Set(std::string_view key, std::string_view name, RegValue value);
  bool SetDword(std::string_view key, std::string_view name, std::uint32_t number);
  // Written with its terminating NUL.
  bool SetString(std::string_view key, std::string_view name, std::string_view text);
  bool SetBinary(std::string_view key, std::string_view name, const void* bytes, std::size_t size);

 private:
  struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Values = std::map<std::string, RegValue, NoCaseLess>;

  std::string filePath_;
  std::map<std::string, Values, NoCaseLess> keys_;
};

// The file of the windowed program's store: $XDG_CONFIG_HOME (when set and absolute),
// else $HOME/.config, then "Orrinvale/Brindlemark/Brindlemark.reg". Empty when neither
// variable gives a folder.
std::string DefaultStorePath();
