#include "strings/EscapedText.h"

#include <cstdio>

namespace {

void AppendHexEscape(std::string& out, const char* form, unsigned value) {
  char escape[8];
  std::snprintf(escape, sizeof escape, form, value);
  out += escape;
}

}  // namespace

std::string EscapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      AppendHexEscape(out, "\\x%02x", byte);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {  // UTF-8 of U+0080..U+009F
      AppendHexEscape(out, "\\u%04x", next);
      ++i;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}
