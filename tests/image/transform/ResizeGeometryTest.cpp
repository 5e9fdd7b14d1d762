#include "image/transform/ResizeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "image/codec/PictureMemory.h"

namespace {

using Change = std::function<void(ConversionSettings&)>;

struct Case {
  const char* name;
  Change change;
  int w, h;  // source
  PixelRect source;
  PixelRect place;
  PixelSize canvas;
};

Change Mode(
    int mode, Change more = [](ConversionSettings&) {}) {
  return [=](ConversionSettings& s) {
    s.resizeOption = mode;
    more(s);
  };
}
Change Target(
    int mode, int tw, int th, Change more = [](ConversionSettings&) {}) {
  return Mode(mode, [=](ConversionSettings& s) {
    s.width = tw;
    s.height = th;
    more(s);
  });
}
Change CropAt(double left, double top) {
  return [=](ConversionSettings& s) {
    s.cropLeftRatio = left;
    s.cropTopRatio = top;
  };
}
Change Frame(int vert, int horz) {
  return [=](ConversionSettings& s) {
    s.addPadding = true;
    s.paddingVert = vert;
    s.paddingHorz = horz;
  };
}
Change OwnPortrait(Change more = [](ConversionSettings&) {}) {
  return [=](ConversionSettings& s) {
    s.sameForPortrait = false;
    more(s);
  };
}

// Every expected value below is worked out by hand from the mode's rule (comments show
// the products that decide).
const Case kCases[] = {
    // FixedCrop 150 x 100. 400 x 300: 150*300 > 100*400, window height 100*400 div 150 = 266.
    {"crop landscape middle",
     Mode(FixedCrop),
     400,
     300,
     {0, 17, 400, 266},
     {0, 0, 150, 100},
     {150, 100}},
    {"crop landscape top",
     Mode(FixedCrop, CropAt(0.5, 0)),
     400,
     300,
     {0, 0, 400, 266},
     {0, 0, 150, 100},
     {150, 100}},
    {"crop landscape bottom",
     Mode(FixedCrop, CropAt(0.5, 1)),
     400,
     300,
     {0, 34, 400, 266},
     {0, 0, 150, 100},
     {150, 100}},
    // 100 x 150 target on 400 x 300: 100*300 < 150*400, window width 100*300 div 150 = 200.
    {"crop narrow left",
     Target(FixedCrop, 100, 150, CropAt(0, 0.5)),
     400,
     300,
     {0, 0, 200, 300},
     {0, 0, 100, 150},
     {100, 150}},
    {"crop narrow middle",
     Target(FixedCrop, 100, 150),
     400,
     300,
     {100, 0, 200, 300},
     {0, 0, 100, 150},
     {100, 150}},
    {"crop narrow right",
     Target(FixedCrop, 100, 150, CropAt(1, 0.5)),
     400,
     300,
     {200, 0, 200, 300},
     {0, 0, 100, 150},
     {100, 150}},
    {"crop same proportions",
     Target(FixedCrop, 200, 150),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 200, 150},
     {200, 150}},
    // Portrait 300 x 400 with the shared target: window height 100*300 div 150 = 200 at 100.
    {"crop portrait shared target",
     Mode(FixedCrop),
     300,
     400,
     {0, 100, 300, 200},
     {0, 0, 150, 100},
     {150, 100}},
    // Its own portrait target 100 x 150: 100*400 < 150*300, window width 40000 div 150 = 266.
    {"crop portrait own target",
     Mode(FixedCrop, OwnPortrait()),
     300,
     400,
     {17, 0, 266, 400},
     {0, 0, 100, 150},
     {100, 150}},
    // A square picture is landscape: width x height even with its own portrait target.
    {"crop square is landscape",
     Mode(FixedCrop, OwnPortrait()),
     300,
     300,
     {0, 50, 300, 200},
     {0, 0, 150, 100},
     {150, 100}},
    // A window thinner than a row: 1 x 100 to 1000 x 1, height 1*1 div 1000 = 0.
    {"crop empty window",
     Target(FixedCrop, 1000, 1),
     1,
     100,
     {0, 50, 1, 0},
     {0, 0, 1000, 1},
     {1000, 1}},

    // FixedPad 200 x 100 on 100 x 100: placed 100 x 100, band of 100 split by the ratio.
    {"pad left",
     Target(FixedPad, 200, 100, CropAt(0, 0.5)),
     100,
     100,
     {0, 0, 100, 100},
     {0, 0, 100, 100},
     {200, 100}},
    {"pad centre",
     Target(FixedPad, 200, 100),
     100,
     100,
     {0, 0, 100, 100},
     {50, 0, 100, 100},
     {200, 100}},
    {"pad right",
     Target(FixedPad, 200, 100, CropAt(1, 0.5)),
     100,
     100,
     {0, 0, 100, 100},
     {100, 0, 100, 100},
     {200, 100}},
    // 150 x 100 on 400 x 100: 150*100 < 100*400, placed height 150*100 div 400 = 37.
    {"pad top",
     Mode(FixedPad, CropAt(0.5, 0)),
     400,
     100,
     {0, 0, 400, 100},
     {0, 0, 150, 37},
     {150, 100}},
    {"pad middle", Mode(FixedPad), 400, 100, {0, 0, 400, 100}, {0, 31, 150, 37}, {150, 100}},
    {"pad bottom",
     Mode(FixedPad, CropAt(0.5, 1)),
     400,
     100,
     {0, 0, 400, 100},
     {0, 63, 150, 37},
     {150, 100}},
    // Portrait 300 x 400: placed width 100*300 div 400 = 75 at trunc(75 * 0.5) = 37.
    {"pad portrait", Mode(FixedPad), 300, 400, {0, 0, 300, 400}, {37, 0, 75, 100}, {150, 100}},
    {"pad equal proportions",
     Target(FixedPad, 200, 150),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 200, 150},
     {200, 150}},

    {"max keeps small", Mode(MaxSize), 100, 50, {0, 0, 100, 50}, {0, 0, 100, 50}, {100, 50}},
    {"max wide strip", Mode(MaxSize), 1000, 10, {0, 0, 1000, 10}, {0, 0, 150, 1}, {150, 1}},
    // 150*300 div 400 = 112 > 100, so height 100 and width 100*400 div 300 = 133.
    {"max landscape", Mode(MaxSize), 400, 300, {0, 0, 400, 300}, {0, 0, 133, 100}, {133, 100}},
    {"max portrait", Mode(MaxSize), 300, 400, {0, 0, 300, 400}, {0, 0, 75, 100}, {75, 100}},
    {"max portrait own target",
     Mode(MaxSize, OwnPortrait()),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 100, 133},
     {100, 133}},

    {"width keep landscape",
     Mode(FixedWidthKeepRatio),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 150, 112},
     {150, 112}},
    {"width keep portrait",
     Mode(FixedWidthKeepRatio),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 150, 200},
     {150, 200}},
    {"width keep to nothing",
     Target(FixedWidthKeepRatio, 100, 100),
     1000,
     5,
     {0, 0, 1000, 5},
     {0, 0, 100, 0},
     {100, 0}},
    {"height keep landscape",
     Mode(FixedHeightKeepRatio),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 133, 100},
     {133, 100}},
    {"height keep portrait",
     Mode(FixedHeightKeepRatio),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 75, 100},
     {75, 100}},

    {"ratio half", Mode(ByRatio), 400, 301, {0, 0, 400, 301}, {0, 0, 200, 150}, {200, 150}},
    {"ratio thin side", Mode(ByRatio), 301, 1, {0, 0, 301, 1}, {0, 0, 150, 1}, {150, 1}},
    {"ratio 0.001",
     Mode(ByRatio, [](ConversionSettings& s) { s.ratio = 0.001; }),
     500,
     500,
     {0, 0, 500, 500},
     {0, 0, 1, 1},
     {1, 1}},
    {"ratio 0.0001",
     Mode(ByRatio, [](ConversionSettings& s) { s.ratio = 0.0001; }),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 1, 1},
     {1, 1}},
    {"ratio 100",
     Mode(ByRatio, [](ConversionSettings& s) { s.ratio = 100; }),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 40000, 30000},
     {40000, 30000}},

    {"no resize", Mode(NoResize), 400, 300, {0, 0, 400, 300}, {0, 0, 400, 300}, {400, 300}},
    {"fixed size landscape",
     Mode(FixedSize),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 150, 100},
     {150, 100}},
    {"fixed size portrait",
     Mode(FixedSize),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 150, 100},
     {150, 100}},
    {"fixed size portrait own",
     Mode(FixedSize, OwnPortrait()),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 100, 150},
     {100, 150}},
    {"fixed width landscape",
     Mode(FixedWidth),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 150, 300},
     {150, 300}},
    {"fixed width portrait",
     Mode(FixedWidth),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 150, 400},
     {150, 400}},
    {"fixed height landscape",
     Mode(FixedHeight),
     400,
     300,
     {0, 0, 400, 300},
     {0, 0, 400, 100},
     {400, 100}},
    {"fixed height portrait",
     Mode(FixedHeight),
     300,
     400,
     {0, 0, 300, 400},
     {0, 0, 300, 100},
     {300, 100}},
    {"unknown mode", Mode(42), 400, 300, {0, 0, 400, 300}, {0, 0, 0, 0}, {0, 0}},
    {"width 1 height 1", Target(FixedSize, 1, 1), 400, 300, {0, 0, 400, 300}, {0, 0, 1, 1}, {1, 1}},

    // Frame: the canvas grows by twice each thickness, the picture moves by one.
    {"frame 4 around crop",
     Mode(FixedCrop, Frame(4, 4)),
     400,
     300,
     {0, 17, 400, 266},
     {4, 4, 150, 100},
     {158, 108}},
    {"frame side bars only",
     Mode(NoResize, Frame(10, 0)),
     40,
     30,
     {0, 0, 40, 30},
     {10, 0, 40, 30},
     {60, 30}},
    {"frame 0", Mode(NoResize, Frame(0, 0)), 40, 30, {0, 0, 40, 30}, {0, 0, 40, 30}, {40, 30}},
    {"frame 1000",
     Mode(NoResize, Frame(1000, 1000)),
     1,
     1,
     {0, 0, 1, 1},
     {1000, 1000, 1, 1},
     {2001, 2001}},
    {"frame around nothing",
     Target(FixedWidthKeepRatio, 100, 100, Frame(4, 4)),
     1000,
     5,
     {0, 0, 1000, 5},
     {4, 4, 100, 0},
     {108, 8}},
    {"frame merges with pad",
     Target(FixedPad, 200, 100, Frame(3, 2)),
     100,
     100,
     {0, 0, 100, 100},
     {53, 2, 100, 100},
     {206, 104}},

    // Products past 32 bits: 1000000 * 3000 decides the crop without overflowing.
    {"crop huge target",
     Target(FixedCrop, 1000000, 100),
     4000,
     3000,
     {0, 1500, 4000, 0},
     {0, 0, 1000000, 100},
     {1000000, 100}},
};

class ResizeGeometryCases : public testing::TestWithParam<Case> {};

TEST_P(ResizeGeometryCases, GivesTheHandWorkedRectangles) {
  const Case& c = GetParam();
  ConversionSettings s;
  c.change(s);
  const ResizeGeometry g = ComputeResizeGeometry(s, c.w, c.h);
  EXPECT_EQ(g.sourceRect, c.source);
  EXPECT_EQ(g.placeRect, c.place);
  EXPECT_EQ(g.canvasSize, c.canvas);
}

INSTANTIATE_TEST_SUITE_P(AllModes, ResizeGeometryCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// A ratio no picture can follow gives a canvas the size check refuses, never an overflow.
TEST(ResizeGeometry, NonFiniteRatioGivesARefusedCanvas) {
  for (double ratio : {double{INFINITY}, double{NAN}, 1e300}) {
    ConversionSettings s;
    s.resizeOption = ByRatio;
    s.ratio = ratio;
    const ResizeGeometry g = ComputeResizeGeometry(s, 400, 300);
    EXPECT_FALSE(PictureSizeAllowed(g.canvasSize.w, g.canvasSize.h)) << ratio;
  }
}

}  // namespace
