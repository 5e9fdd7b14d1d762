#include "strings/EscapedText.h"

#include <gtest/gtest.h>

namespace {

TEST(EscapedText, ControlCharactersBecomeEscapesAndEverythingElseStays) {
  const std::pair<std::string, std::string> cases[] = {
      {"/in/a.png", "/in/a.png"},
      {"/in/back\\slash n.png", "/in/back\\slash n.png"},  // no control: unchanged
      {"/in/caf\xc3\xa9 \xe6\x97\xa5.jpg", "/in/caf\xc3\xa9 \xe6\x97\xa5.jpg"},
      {"nl\nSUCCESS: forged", "nl\\nSUCCESS: forged"},
      {"cr\rover", "cr\\rover"},
      {"tab\tname", "tab\\tname"},
      {"esc\x1b[2Jclear", "esc\\x1b[2Jclear"},
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"bell\x07 del\x7f", "bell\\x07 del\\x7f"},
      {"csi\xc2\x9b"
       "31m",
       "csi\\u009b31m"},                     // C1 control in UTF-8
      {"nbsp\xc2\xa0ok", "nbsp\xc2\xa0ok"},  // U+00A0 is no control
      {"cut\xc2", "cut\xc2"},                // a lone lead byte at the end stays
  };
  for (const auto& [raw, shown] : cases) EXPECT_EQ(EscapeControlCharacters(raw), shown) << shown;
}

}  // namespace
