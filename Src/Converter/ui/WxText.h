// The program's texts are UTF-8 bytes; wx strings are made from them here and nowhere else.
#pragma once

#include <wx/string.h>

#include <string_view>

inline wxString WxText(std::string_view text) {
  return wxString::FromUTF8(text.data(), text.size());
}
