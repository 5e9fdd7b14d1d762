#include "platform/RegistryStore.h"

#include "platform/ByteCodes.h"
#include "platform/FileWrite.h"
#include "platform/FolderCreation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHive = "HKEY_CURRENT_USER\\";
// A store file is a few kilobytes; reading stops here so a stray huge file costs little.
constexpr std::size_t kMaxFileBytes = 16u << 20;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// A quoted text at the start of `s` with \\ and \" escapes; on success `s` is left after
// the closing quote.
bool ReadQuoted(std::string_view& s, std::string& out) {
  if (s.empty() || s.front() != '"') return false;
  out.clear();
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return true;
    }
    out += (c == '\\' && i + 1 < s.size()) ? s[++i] : c;
  }
  return false;
}

// "aa,bb,..." into bytes; every item is one or two hex digits.
bool ReadHexList(std::string_view s, std::vector<std::uint8_t>& out) {
  out.clear();
  s = TrimBlanks(s);
  if (s.empty()) return true;
  while (true) {
    const std::size_t comma = s.find(',');
    const std::string_view item = TrimBlanks(s.substr(0, comma));
    if (item.empty() || item.size() > 2) return false;
    int byte = 0;
    for (char c : item) {
      const int d = HexDigitValue(c);
      if (d < 0) return false;
      byte = byte * 16 + d;
    }
    out.push_back(static_cast<std::uint8_t>(byte));
    if (comma == std::string_view::npos) return true;
    s.remove_prefix(comma + 1);
  }
}

bool ReadDwordText(std::string_view s, std::vector<std::uint8_t>& out) {
  s = TrimBlanks(s);
  if (s.empty() || s.size() > 8) return false;
  std::uint32_t n = 0;
  for (char c : s) {
    const int d = HexDigitValue(c);
    if (d < 0) return false;
    n = n * 16 + static_cast<std::uint32_t>(d);
  }
  out.clear();
  AppendLE32(out, n);
  return true;
}

// The data after "name=": "text", dword:XXXXXXXX, hex:.. or hex(N):..
bool ReadData(std::string_view s, RegValue& value) {
  s = TrimBlanks(s);
  if (!s.empty() && s.front() == '"') {
    std::string text;
    if (!ReadQuoted(s, text) || !TrimBlanks(s).empty()) return false;
    value.type = RegType::Sz;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return true;
  }
  if (StartsWithNoCase(s, "dword:")) {
    value.type = RegType::Dword;
    return ReadDwordText(s.substr(6), value.data);
  }
  if (StartsWithNoCase(s, "hex:")) {
    value.type = RegType::Binary;
    return ReadHexList(s.substr(4), value.data);
  }
  if (StartsWithNoCase(s, "hex(")) {
    const std::size_t close = s.find("):");
    if (close == std::string_view::npos || close == 4 || close > 12) return false;
    std::uint32_t type = 0;
    for (char c : s.substr(4, close - 4)) {
      const int d = HexDigitValue(c);
      if (d < 0) return false;
      type = type * 16 + static_cast<std::uint32_t>(d);
    }
    value.type = static_cast<RegType>(type);
    return ReadHexList(s.substr(close + 2), value.data);
  }
  return false;
}

bool PrintableText(const std::vector<std::uint8_t>& data) {
  if (data.empty() || data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] < 0x20 || data[i] == 0x7F) return false;
  return true;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void AppendData(std::string& out, const RegValue& v) {
  char buf[16];
  if (v.type == RegType::Sz && PrintableText(v.data)) {
    AppendQuoted(out,
                 std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1));
    return;
  }
  if (v.type == RegType::Dword && v.data.size() == 4) {
    const std::uint32_t n = ReadLE32(v.data.data());
    std::snprintf(buf, sizeof buf, "dword:%08x", n);
    out += buf;
    return;
  }
  if (v.type == RegType::Binary) {
    out += "hex:";
  } else {
    std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
    out += buf;
  }
  for (std::size_t i = 0; i < v.data.size(); ++i) {
    std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", v.data[i]);
    out += buf;
  }
}

bool ValidName(std::string_view name) {
  return name.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

bool ValidKey(std::string_view key) { return !key.empty() && ValidName(key) && key.back() != ']'; }

// Creates every missing folder of `dir` (mode 0700); true when it exists afterwards.
bool MakeFolders(const std::string& dir) {
  for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
    if (pos < dir.size() && dir[pos] != '/') continue;
    const std::string part = dir.substr(0, pos);
    if (!MakeFolder(part, 0700)) return false;
  }
  return true;
}

}  // namespace

bool RegistryStore::NoCaseLess::operator()(std::string_view a, std::string_view b) const {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

RegistryStore::RegistryStore(std::string filePath) : filePath_(std::move(filePath)) {}

void RegistryStore::Load() {
  keys_.clear();
  if (filePath_.empty()) return;
  FILE* file = std::fopen(filePath_.c_str(), "rb");
  if (!file) return;
  std::string text;
  char buf[8192];
  std::size_t n;
  while (text.size() < kMaxFileBytes && (n = std::fread(buf, 1, sizeof buf, file)) > 0)
    text.append(buf, n);
  std::fclose(file);
  if (text.size() > kMaxFileBytes) text.resize(kMaxFileBytes);
  MergeText(text);
}

int RegistryStore::MergeText(std::string_view text) {
  Values* current = nullptr;  // values before the first valid key line are dropped
  std::string line;
  int nextLine = 1, firstUnread = 0;
  while (!text.empty()) {
    // One logical line: physical lines ending in a backslash continue on the next one.
    const int number = nextLine;
    line.clear();
    while (true) {
      const std::size_t end = text.find('\n');
      std::string_view part = TrimBlanks(text.substr(0, end));
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      ++nextLine;
      const bool more = !part.empty() && part.back() == '\\' && !text.empty();
      if (more) part.remove_suffix(1);
      line += line.empty() ? part : TrimBlanks(part);
      if (!more) break;
    }
    const auto unread = [&] {
      if (firstUnread == 0) firstUnread = number;
    };
    std::string_view s = line;
    if (s.empty() || s.front() == ';' || s == kHeader) continue;
    if (s.front() == '[') {
      current = nullptr;
      if (s.back() != ']') {
        unread();
        continue;
      }
      std::string_view key = s.substr(1, s.size() - 2);
      if (StartsWithNoCase(key, kHive)) key.remove_prefix(kHive.size());
      if (ValidKey(key))
        current = &keys_[std::string(key)];
      else
        unread();
      continue;
    }
    std::string name;
    if (!current) {
      unread();
      continue;
    }
    if (s.front() == '@')
      s.remove_prefix(1);
    else if (!ReadQuoted(s, name)) {
      unread();
      continue;
    }
    s = TrimBlanks(s);
    RegValue value;
    if (!s.empty() && s.front() == '=' && ReadData(s.substr(1), value) && ValidName(name))
      (*current)[name] = std::move(value);
    else
      unread();
  }
  return firstUnread;
}

std::string RegistryStore::ToText() const {
  std::string out(kHeader);
  out += "\n";
  for (const auto& [key, values] : keys_) {
    out += "\n[";
    out += kHive;
    out += key;
    out += "]\n";
    for (const auto& [name, value] : values) {
      if (name.empty())
        out += '@';
      else
        AppendQuoted(out, name);
      out += '=';
      AppendData(out, value);
      out += '\n';
    }
  }
  return out;
}

namespace {

// The file a path names once its symbolic links are followed: a store kept elsewhere
// (dotfiles in a repository, linked into place) is replaced there and the link stays. A
// dangling link names the file it would point at; a loop keeps the last name reached.
std::string LinkTarget(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return current;
    target.resize(static_cast<std::size_t>(n));
    if (target[0] != '/') {  // relative to the folder of the link
      const std::size_t slash = current.rfind('/');
      if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
    }
    current = std::move(target);
  }
  return current;
}

}  // namespace

HRESULT RegistryStore::Flush() const {
  if (filePath_.empty()) return S_OK;
  const std::string file = LinkTarget(filePath_);
  const std::size_t slash = file.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(file.substr(0, slash))) return E_FAIL;
  const std::string temp = file + ".tmp-" + std::to_string(getpid());
  unlink(temp.c_str());  // a leftover of an earlier crash of this same process id
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return E_FAIL;
  const bool written = WriteAll(fd, ToText()) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temp.c_str(), file.c_str()) != 0) {
    unlink(temp.c_str());
    return E_FAIL;
  }
  return S_OK;
}

bool RegistryStore::CreateKey(std::string_view key) {
  if (!ValidKey(key) || KeyExists(key)) return false;
  keys_.emplace(std::string(key), Values{});
  return true;
}

bool RegistryStore::KeyExists(std::string_view key) const { return keys_.find(key) != keys_.end(); }

std::vector<std::string> RegistryStore::KeyNames() const {
  std::vector<std::string> names;
  for (const auto& [key, values] : keys_) names.push_back(key);
  return names;
}

std::vector<std::string> RegistryStore::ValueNames(std::string_view key) const {
  std::vector<std::string> names;
  const auto k = keys_.find(key);
  if (k != keys_.end())
    for (const auto& [name, value] : k->second) names.push_back(name);
  return names;
}

const RegValue* RegistryStore::Query(std::string_view key, std::string_view name) const {
  const auto k = keys_.find(key);
  if (k == keys_.end()) return nullptr;
  const auto v = k->second.find(name);
  return v == k->second.end() ? nullptr : &v->second;
}

bool RegistryStore::Set(std::string_view key, std::string_view name, RegValue value) {
  if (!ValidKey(key) || !ValidName(name)) return false;
  auto k = keys_.find(key);
  if (k == keys_.end()) k = keys_.emplace(std::string(key), Values{}).first;
  k->second.insert_or_assign(std::string(name), std::move(value));
  return true;
}

bool RegistryStore::SetDword(std::string_view key, std::string_view name, std::uint32_t n) {
  RegValue v{RegType::Dword, {}};
  AppendLE32(v.data, n);
  return Set(key, name, std::move(v));
}

bool RegistryStore::SetString(std::string_view key, std::string_view name, std::string_view text) {
  RegValue v{RegType::Sz, std::vector<std::uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  return Set(key, name, std::move(v));
}

bool RegistryStore::SetBinary(std::string_view key, std::string_view name, const void* bytes,
                              std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  return Set(key, name, {RegType::Binary, std::vector<std::uint8_t>(p, p + size)});
}

std::string DefaultStorePath() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (xdg && xdg[0] == '/')
    base = xdg;
  else if (home && home[0])
    base = std::string(home) + "/.config";
  else
    return {};
  return base + "/Orrinvale/Brindlemark/Brindlemark.reg";
}
