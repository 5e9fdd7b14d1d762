#include "ui/pages/NumberField.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "cmdline/CommandLineParser.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text) {
  const std::string s = Trimmed(text);
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> ParseRealNumber(std::string_view text) {
  const std::string s = Trimmed(text);
  if (s.empty()) return std::nullopt;
  // Only plain decimal notation: strtod would also take "nan", "inf" and hex floats.
  for (char c : s) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E'))
      return std::nullopt;
  }
  char* end = nullptr;
  const double value = std::strtod(s.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

int LeadingInteger(std::string_view text) { return ReadInt(text); }

wxString FormatReal(double value) { return wxString::Format("%.15g", value); }

wxString FormatWhole(int value) { return wxString::Format("%d", value); }
