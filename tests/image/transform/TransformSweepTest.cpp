// Hostile and degenerate settings swept over small pictures: every step ends with a
// picture of the size its geometry promises or with one of its own failure codes, never a
// crash. (Run under AddressSanitizer this also shows that nothing outside a picture is
// read or written.)
#include <gtest/gtest.h>

#include <cmath>
#include <climits>
#include <random>

#include "image/ImageResult.h"
#include "image/transform/Overlay.h"
#include "image/transform/ResizeAndFrame.h"
#include "image/transform/ResizeGeometry.h"
#include "image/transform/Rotate.h"
#include "image/transform/Shadow.h"
#include "image/transform/ShadowLayout.h"
#include "image/transform/TransformTestSupport.h"

namespace {

template <typename T, std::size_t N>
T Pick(std::mt19937& rng, const T (&values)[N]) {
  return values[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

const int kSides[] = {1, 2, 3, 7, 40};
const int kTargets[] = {-5, 0, 1, 2, 3, 9, 300, 70000, INT_MAX};
const double kFractions[] = {0.0, 0.5, 1.0, 1.7, -0.3, NAN, 0.0001, 100.0};
const int kFrames[] = {0, 1, 7, -3, 1000};
const int kBlurs[] = {-5, 0, 1, 8, 1000};
const int kDistances[] = {0, 7, -20, 100000, INT_MAX, INT_MIN};
const int kAngles[] = {0, 90, 135, 271, -45, INT_MAX};

Picture Noise(std::mt19937& rng, int w, int h) {
  return Picture(MakePicture32(w, h, [&](int, int) { return static_cast<std::uint32_t>(rng()); }));
}

TEST(TransformSweep, ResizeEndsInThePromisedCanvasOrItsCode) {
  std::mt19937 rng(20261208);
  for (int n = 0; n < 2000; ++n) {
    ConversionSettings s;
    s.resizeOption = std::uniform_int_distribution<int>(-1, 10)(rng);
    s.sameForPortrait = rng() % 2;
    s.width = Pick(rng, kTargets);
    s.height = Pick(rng, kTargets);
    s.portraitWidth = Pick(rng, kTargets);
    s.portraitHeight = Pick(rng, kTargets);
    s.ratio = Pick(rng, kFractions);
    s.cropLeftRatio = Pick(rng, kFractions);
    s.cropTopRatio = Pick(rng, kFractions);
    s.addPadding = rng() % 2;
    s.paddingVert = Pick(rng, kFrames);
    s.paddingHorz = Pick(rng, kFrames);
    const int w = Pick(rng, kSides), h = Pick(rng, kSides);
    Picture p = Noise(rng, w, h);
    s.filter = n % 2 ? LanczosFilter : BoxFilter;
    const ResizeGeometry g = ComputeResizeGeometry(s, w, h);
    StepOutcome out = RunOneStep(ResizeAndFrame, p.get(), s);
    if (out.hr == S_OK) {
      ASSERT_TRUE(out.made);
      ASSERT_EQ(WidthOf(out.made.get()), g.canvasSize.w) << n;
      ASSERT_EQ(HeightOf(out.made.get()), g.canvasSize.h) << n;
      FIBITMAP* made = nullptr;
      ASSERT_EQ(RotatePicture(out.made.get(), 90, &made), S_OK);
      Picture turned(made);
    } else {
      ASSERT_TRUE(out.hr == E_IMG_TOO_SMALL || out.hr == E_OUTOFMEMORY) << n << " " << out.hr;
      ASSERT_FALSE(out.made);
    }
  }
}

TEST(TransformSweep, ShadowEndsInItsCanvasOrOutOfMemory) {
  std::mt19937 rng(7);
  for (int n = 0; n < 600; ++n) {
    ConversionSettings s;
    s.shadowBlur = Pick(rng, kBlurs);
    s.shadowDistance = Pick(rng, kDistances);
    s.shadowAngle = Pick(rng, kAngles);
    s.shadowOpaque = Pick(rng, kFractions);
    const int w = Pick(rng, kSides), h = Pick(rng, kSides);
    Picture p = Noise(rng, w, h);
    const ShadowLayout l = ComputeShadowLayout(s, w, h);
    StepOutcome out = RunOneStep(AddShadow, p.get(), s);
    if (out.hr == S_OK) {
      ASSERT_EQ(WidthOf(out.made.get()), l.canvas.Width()) << n;
      ASSERT_EQ(HeightOf(out.made.get()), l.canvas.Height()) << n;
      ASSERT_EQ(PixelAt(out.made.get(), static_cast<int>(-l.canvas.left),
                        static_cast<int>(-l.canvas.top)),
                PixelsOf(p.get())[0])
          << n;
    } else {
      ASSERT_EQ(out.hr, E_OUTOFMEMORY) << n;
    }
  }
}

TEST(TransformSweep, OverlayOfAnySizeAndPlaceStaysInThePicture) {
  std::mt19937 rng(11);
  for (int n = 0; n < 1000; ++n) {
    ConversionSettings s = PlainSettings();
    s.overlayImage = std::make_shared<ImageBuffer>();
    s.overlayImage->Adopt(Noise(rng, Pick(rng, kSides), Pick(rng, kSides)).release());
    s.overlayHAlignRatio = Pick(rng, kFractions);
    s.overlayVAlignRatio = Pick(rng, kFractions);
    s.overlayTransparency = Pick(rng, kFractions);
    Picture p = Noise(rng, Pick(rng, kSides), Pick(rng, kSides));
    ASSERT_EQ(RunOneStep(ApplyOverlay, p.get(), s).hr, S_OK) << n;
  }
}

}  // namespace
