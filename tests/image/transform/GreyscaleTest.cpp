#include "image/transform/Greyscale.h"

#include <gtest/gtest.h>

#include "image/ImageResult.h"
#include "image/transform/Overlay.h"
#include "image/transform/TransformTestSupport.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

TEST(Greyscale, AveragesTheThreeColoursAndKeepsTheFourthByte) {
  // (blue + green + red) div 3: 10 + 20 + 31 = 61 -> 20; 255 + 255 + 254 = 764 -> 254.
  Picture p(MakePicture32(4, 1, Pixels{0x000A141Fu, 0x7FFFFFFEu, 0xFF000001u, 0x12FFFFFFu}));
  StepOutcome out = RunOneStep(ConvertToGrey, p.get(), ConversionSettings{});
  ASSERT_EQ(out.hr, S_OK);
  EXPECT_FALSE(out.made);  // in place
  EXPECT_EQ(PixelsOf(p.get()), (Pixels{0x00141414u, 0x7FFEFEFEu, 0xFF000000u, 0x12FFFFFFu}));
}

TEST(Greyscale, RefusesAPictureThatIsNot32Bit) {
  Picture rgb(FreeImage_Allocate(2, 2, 24, 0, 0, 0));
  EXPECT_EQ(RunOneStep(ConvertToGrey, rgb.get(), ConversionSettings{}).hr, E_IMG_NOT_32BIT);
  EXPECT_EQ(RunOneStep(ConvertToGrey, nullptr, ConversionSettings{}).hr, E_IMG_NOT_32BIT);
}

// Grey comes after the overlay (the overlay turns grey too) and before the shadow (whose
// red background stays red).
TEST(Greyscale, RunsBetweenOverlayAndShadowInApplySettings) {
  ImageBuffer buffer;
  buffer.Adopt(MakePicture32(2, 2, [](int, int) { return 0xFF0000FFu; }));  // blue
  ConversionSettings s = PlainSettings();
  s.greyScale = true;
  s.overlay = true;
  s.overlayImage = std::make_shared<ImageBuffer>();
  s.overlayImage->Adopt(MakePicture32(1, 1, Pixels{0xFF30FF00u}));  // (48 + 255) div 3 = 101
  s.overlayHAlignRatio = s.overlayVAlignRatio = 0;
  s.overlayTransparency = 0;
  s.createShadow = true;
  s.shadowDistance = 0;
  s.shadowBlur = 0;
  s.shadowBackColor = 0x0000FF;  // red
  ASSERT_EQ(buffer.ApplySettings(s), S_OK);
  ASSERT_EQ(buffer.Width(), 6);
  EXPECT_EQ(PixelAt(buffer.Picture(), 2, 2), Grey(101));    // the overlay, grey
  EXPECT_EQ(PixelAt(buffer.Picture(), 3, 3), Grey(85));     // the blue picture, grey
  EXPECT_EQ(PixelAt(buffer.Picture(), 0, 0), 0xFFFF0000u);  // the background, still red
}

}  // namespace
