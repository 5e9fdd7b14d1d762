// A depth the destination type cannot hold is refused by validation on the bit-depth field
// of the resize page, with a text that names the depths the type takes; a value that is no
// depth at all is left to fail page by page, as before.
#include <gtest/gtest.h>

#include "settings/ValidateSettings.h"

namespace {

TEST(DepthRefusal, NamesTheDepthsTheTypeTakesOnTheBitDepthField) {
  const struct {
    const char* ext;
    int bpp;
    const char* message;  // empty: accepted
  } cases[] = {
      {"png", 16, "PNG cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."},
      {"TIFF", 16, "TIFF cannot be written with 16 bits per pixel; choose 1, 8, 24 or 32."},
      {"gif", 24, ""},  // written with 8 bits from any depth
      {"jpg", 32, ""},  // written with 24 bits from any depth but 8
      {"png", 12, ""},  // no depth: every page fails at the depth step instead
  };
  for (const auto& c : cases) {
    ConversionSettings s;
    s.destFolder = "/out";
    s.destFileExt = c.ext;
    s.bpp = c.bpp;
    const ValidationResult r = ValidateSettings(s);
    EXPECT_EQ(r.message, c.message) << c.ext << " " << c.bpp;
    EXPECT_EQ(r.code, *c.message ? E_INVALIDARG : S_OK) << c.ext << " " << c.bpp;
    if (*c.message) {
      EXPECT_EQ(r.field, SettingsField::bpp);
      EXPECT_EQ(r.page, SettingsPage::ResizeAndFile);
    }
  }
}

}  // namespace
