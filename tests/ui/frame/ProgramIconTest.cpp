// The program icon: the compiled-in sizes are the installed hicolor files pixel for pixel
// (FreeImage decodes the files), and the main window and the About box show it.
#include <FreeImage.h>
#include <wx/statbmp.h>
#include <wx/testing.h>

#include <filesystem>

#include "FrameFixture.h"
#include "UiTestSupport.h"
#include "ui/frame/AboutBox.h"
#include "ui/frame/ProgramIcon.h"

namespace {

// Top-down rows of 0xAARRGGBB.
std::vector<std::uint32_t> PixelsOf(const wxImage& image) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) {
      const std::uint32_t alpha = image.HasAlpha() ? image.GetAlpha(x, y) : 255u;
      pixels.push_back(alpha << 24 | std::uint32_t(image.GetRed(x, y)) << 16 |
                       std::uint32_t(image.GetGreen(x, y)) << 8 | image.GetBlue(x, y));
    }
  return pixels;
}

std::vector<std::uint32_t> InstalledIconPixels(int size) {
  const std::string path = std::string(BM_SOURCE_DIR) +
                           "/Src/Converter/ui/resources/icons/brindlemark-" + std::to_string(size) +
                           ".png";
  FIBITMAP* file = FreeImage_Load(FIF_PNG, path.c_str());
  if (!file) return {};
  FIBITMAP* rgba = FreeImage_ConvertTo32Bits(file);
  FreeImage_Unload(file);
  std::vector<std::uint32_t> pixels = ::PixelsOf(rgba);
  FreeImage_Unload(rgba);
  return pixels;
}

TEST(ProgramIcon, EachCompiledSizeIsTheInstalledFileWithTransparentCorners) {
  for (int size : kProgramIconSizes) {
    const wxBitmap bitmap = ProgramIconBitmap(size);
    ASSERT_TRUE(bitmap.IsOk()) << size;
    EXPECT_EQ(bitmap.GetSize(), wxSize(size, size));
    const wxImage image = bitmap.ConvertToImage();
    ASSERT_TRUE(image.HasAlpha()) << size;
    EXPECT_EQ(image.GetAlpha(0, 0), 0) << size;
    EXPECT_EQ(image.GetAlpha(size / 2, size / 2), 255) << size;
    const auto installed = InstalledIconPixels(size);
    ASSERT_EQ(installed.size(), std::size_t(size) * size) << size;
    EXPECT_EQ(PixelsOf(image), installed) << size;
  }
  EXPECT_FALSE(ProgramIconBitmap(20).IsOk());
}

using ProgramIconFrameTest = FrameTest;

TEST_F(ProgramIconFrameTest, MainWindowCarriesEverySize) {
  OpenFrame();
  const wxIconBundle icons = frame_->GetIcons();
  ASSERT_EQ(icons.GetIconCount(), 3u);
  for (int size : kProgramIconSizes) {
    const wxIcon icon = icons.GetIcon(size, wxIconBundle::FALLBACK_NONE);
    ASSERT_TRUE(icon.IsOk()) << size;
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    EXPECT_EQ(PixelsOf(bitmap.ConvertToImage()), PixelsOf(ProgramIconBitmap(size).ConvertToImage()))
        << size;
  }
}

TEST(ProgramIconAbout, AboutBoxShowsTheFortyEightPixelIcon) {
  AboutBox box(nullptr);
  const wxBitmap shown = box.IconBitmap();
  ASSERT_TRUE(shown.IsOk());
  EXPECT_EQ(PixelsOf(shown.ConvertToImage()), PixelsOf(ProgramIconBitmap(48).ConvertToImage()));
}

// On screen, the About box shows the icon's orange badge where the icon sits; the picture
// is kept for people to look at.
TEST(ProgramIconAbout, AboutBoxScreenshotShowsTheIcon) {
  if (!HaveImport()) GTEST_SKIP() << "ImageMagick's import is needed for screenshots";
  AboutBox box(nullptr);
  box.Show();
  box.Raise();
  PumpEvents(300);
  std::filesystem::create_directories(BM_UI_OUTPUT_DIR);
  const std::string path = std::string(BM_UI_OUTPUT_DIR) + "/about-box.png";
  const wxImage shot = CaptureScreen(box.GetScreenRect(), path);
  ASSERT_TRUE(shot.IsOk()) << path;
  wxWindow* icon = nullptr;
  for (wxWindow* child : box.GetChildren())
    if (dynamic_cast<wxStaticBitmap*>(child)) icon = child;
  ASSERT_NE(icon, nullptr);
  // The badge's centre lies at (198, 198) of the 256-pixel drawing: (37, 37) at 48 pixels.
  const wxPoint badge = icon->ClientToScreen(wxPoint(37, 37)) - box.GetScreenPosition();
  EXPECT_GT(shot.GetRed(badge.x, badge.y), 200);
  EXPECT_LT(shot.GetBlue(badge.x, badge.y), 80);
}

}  // namespace
