#include "ChildCommand.h"

#include <unistd.h>

#include <climits>

namespace {

// The characters that separate tokens, and so the "blanks" that make a value quoted.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool HasBlank(std::string_view text) {
  for (char c : text)
    if (IsBlank(c)) return true;
  return false;
}

std::string WithoutQuotes(std::string_view argument) {
  std::string out;
  for (char c : argument)
    if (c != '"') out += c;
  return out;
}

}  // namespace

std::string ChildPathFor(std::string_view launcherPath) {
  const std::size_t slash = launcherPath.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = launcherPath.rfind('.');
  std::string path(launcherPath);
  if (launcherPath.empty()) return path;
  if (dot != std::string_view::npos && dot >= nameStart) path.resize(dot);
  return path + ".exe";
}

std::string OwnPath() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

std::string RequoteArguments(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& raw : arguments) {
    const std::string argument = WithoutQuotes(raw);
    const std::size_t colon = argument.find(':');
    const std::string key = argument.substr(0, colon);
    const std::string value = colon == std::string::npos ? "" : argument.substr(colon + 1);
    text += ' ';
    if (value.empty())
      text += key;  // an argument ending in its first ":" loses that ":"
    else if (!HasBlank(value))
      text += argument;
    else
      text += key + ":\"" + value + '"';
  }
  return text;
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> tokens;
  std::string current;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (IsBlank(c) && !quoted) {
      if (!current.empty()) tokens.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

std::vector<std::string> ChildArguments(const std::vector<std::string>& arguments) {
  return SplitArguments(RequoteArguments(arguments));
}
