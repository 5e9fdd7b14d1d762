// The program's texts are UTF-8 bytes; wx strings are made from them and read back into
// them here.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

inline wxString WxText(std::string_view text) {
  return wxString::FromUTF8(text.data(), text.size());
}

inline std::string Utf8(const wxString& text) { return text.utf8_string(); }
