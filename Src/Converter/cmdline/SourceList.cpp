#include "cmdline/SourceList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Calls f on each "/"-separated component of path, empty ones included.
template <typename F>
void ForEachComponent(std::string_view path, F f) {
  for (std::size_t start = 0;;) {
    const std::size_t slash = path.find('/', start);
    f(path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
    if (slash == std::string_view::npos) return;
    start = slash + 1;
  }
}

}  // namespace

std::string ListedPath(std::string_view path) {
  const bool absolute = path.starts_with('/');
  std::string out = absolute ? "/" : "";
  ForEachComponent(path, [&](std::string_view part) {
    if (part.empty() || part == ".") return;
    if (!out.empty() && out.back() != '/') out += '/';
    out += part;
  });
  return out.empty() ? "." : out;
}

bool ClimbsOut(std::string_view path) {
  bool climbs = false;
  ForEachComponent(path, [&](std::string_view part) { climbs = climbs || part == ".."; });
  return climbs;
}

std::vector<std::string> SourceListEntries(std::string_view text) {
  std::vector<std::string> entries;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!IsBlankLine(line)) entries.push_back(ListedPath(line));
  }
  return entries;
}

bool ReadSourceList(const std::string& name, std::vector<std::string>& entries, std::string& why) {
  const bool standardInput = name == "-";
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(
      standardInput ? nullptr : std::fopen(name.c_str(), "rb"), std::fclose);
  std::FILE* in = standardInput ? stdin : opened.get();
  if (!in) {
    why = std::strerror(errno);
    return false;
  }
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  if (std::ferror(in)) {
    why = std::strerror(errno);  // a folder named as the list fails here (EISDIR)
    return false;
  }
  entries = SourceListEntries(text);
  return true;
}
