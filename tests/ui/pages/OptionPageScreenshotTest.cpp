// Pictures of the two option pages at the window's default size, for the README: every
// control of a page lies inside the page and no two of them overlap.
#include <filesystem>

#include <wx/scrolwin.h>

#include "OptionPageTestSupport.h"

namespace {

using OptionPageScreenshot = OptionPageTest;

// The screen rectangles of the page's controls (not of the group frames).
std::vector<std::pair<wxWindow*, wxRect>> ControlRects(wxWindow* window) {
  std::vector<std::pair<wxWindow*, wxRect>> rects;
  for (wxWindow* child : window->GetChildren()) {
    if (dynamic_cast<wxStaticBox*>(child) || dynamic_cast<wxScrolledWindow*>(child)) {
      for (auto& inner : ControlRects(child)) rects.push_back(inner);
    } else if (child->IsShown()) {
      rects.emplace_back(child, child->GetScreenRect());
    }
  }
  return rects;
}

// Inside the page's scrolled body, scrolled to its top; `fits` when the body needs no
// scrolling.
void ExpectLaidOut(wxWindow* page, bool fits) {
  auto* body = dynamic_cast<wxScrolledWindow*>(page->GetChildren().front());
  ASSERT_NE(body, nullptr);
  body->Scroll(0, 0);
  PumpEvents(50);
  const wxRect area(body->GetScreenPosition(), body->GetVirtualSize());
  if (fits) {
    EXPECT_LE(body->GetVirtualSize().y, body->GetClientSize().y) << "page " << page->GetId();
  }
  EXPECT_LE(body->GetVirtualSize().x, body->GetClientSize().x) << "page " << page->GetId();
  const auto rects = ControlRects(page);
  ASSERT_GT(rects.size(), 10u);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_TRUE(area.Contains(rects[i].second))
        << "control " << rects[i].first->GetId() << " is clipped";
    for (std::size_t j = i + 1; j < rects.size(); ++j)
      EXPECT_FALSE(rects[i].second.Intersects(rects[j].second))
          << "controls " << rects[i].first->GetId() << " and " << rects[j].first->GetId()
          << " overlap";
  }
}

TEST_F(OptionPageScreenshot, BothPagesFitTheDefaultAndALargerWindow) {
  OpenPages();
  std::filesystem::create_directories(BM_UI_OUTPUT_DIR);
  const char* names[] = {"", "resize-option-page.png", "shadow-overlay-page.png"};
  for (wxSize size : {wxSize(680, 535), wxSize(1000, 760)}) {
    frame_->SetSize(size);
    PumpEvents(100);
    for (int page = 1; page <= 2; ++page) {
      ASSERT_TRUE(frame_->Bar()->SwitchTo(page));
      PumpEvents(200);
      ExpectLaidOut(frame_->Bar()->Page(page), size.x > 680);
      if (size.x == 680 && HaveImport()) {
        const std::string path = std::string(BM_UI_OUTPUT_DIR) + "/" + names[page];
        EXPECT_TRUE(CaptureScreen(frame_->GetScreenRect(), path).IsOk()) << path;
      }
    }
  }
}

}  // namespace
