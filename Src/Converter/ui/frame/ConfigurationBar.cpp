#include "ui/frame/ConfigurationBar.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "ui/list/FileSelectionPage.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/OptionPages.h"
#include "ui/frame/TabStrip.h"
#include "ui/resources/FrameTexts.h"
#include "ui/resources/ResourceIds.h"
#include "ui/toolkit/WxText.h"

namespace {

ConfigurationBar* theBar = nullptr;

constexpr int kBannerHeight = 60;
constexpr int kLine = 2;  // etched lines are two pixels high
constexpr int kTabStripHeight = 25;
const wxColour kGrey(128, 128, 128);
const wxColour kStripFill(212, 208, 200);

// Splits `text` at blanks into lines no wider than `width` (a word wider than that gets a
// line of its own).
std::vector<wxString> WrapWords(wxDC& dc, const wxString& text, int width) {
  std::vector<wxString> lines;
  wxString line;
  for (const wxString& word : wxSplit(text, ' ', '\0')) {
    const wxString candidate = line.empty() ? word : line + ' ' + word;
    if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

ConfigurationBar* TheConfigurationBar() { return theBar; }

wxBEGIN_EVENT_TABLE(ConfigurationBar, wxWindow)
  EVT_PAINT(ConfigurationBar::OnPaint)
  EVT_SIZE(ConfigurationBar::OnSize)
  EVT_ERASE_BACKGROUND(ConfigurationBar::OnEraseBackground)
  EVT_COMMAND(ToWxId(Res::TabControl), bmEVT_TAB_SELCHANGE, ConfigurationBar::OnTabChanged)
  EVT_SET_FOCUS(ConfigurationBar::OnFocus)
wxEND_EVENT_TABLE()

std::vector<ConfigurationBar::PageFactory> ConfigurationBar::DefaultPages() {
  std::vector<PageFactory> pages;
  // The file selection page works on the main window's session.
  pages.push_back([](wxWindow* parent) -> PageDialog* {
    CMainFrame* frame = TheMainFrame();
    if (!frame) return new PageDialog(parent, Res::SelectFilesPage);
    return new FileSelectionPage(parent, *frame->Session().list, frame->Session().settings);
  });
  pages.push_back(MakeResizeOptionPage);
  pages.push_back(MakeShadowOverlayPage);
  return pages;
}

ConfigurationBar::ConfigurationBar(wxWindow* parent, wxWindowID id, std::vector<PageFactory> pages)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_SIMPLE | wxTAB_TRAVERSAL) {
  theBar = this;
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  // The bar's face at 8.5 points, normal and bold; the bar and its tabs use the normal one.
  normalFont_ = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  normalFont_.SetFractionalPointSize(8.5);
  normalFont_.SetWeight(wxFONTWEIGHT_NORMAL);
  boldFont_ = normalFont_.Bold();
  SetFont(normalFont_);

  tabs_ = new TabStrip(this, ToWxId(Res::TabControl));
  tabs_->SetFont(normalFont_);
  // As many tabs as there are captions.
  for (std::string_view caption : FrameTexts::PageCaptions) tabs_->AddTab(WxText(caption));

  for (const PageFactory& make : pages) {
    PageDialog* page = make ? make(this) : nullptr;
    if (!page || !page->Initialise()) return;
    page->Hide();
    pages_.push_back(page);
  }
  valid_ = static_cast<int>(pages_.size()) == tabs_->GetTabCount();
  if (!valid_) return;
  current_ = 0;
  tabs_->SetSelection(0);
  Relayout();
  ShowCurrentPage();
}

ConfigurationBar::~ConfigurationBar() {
  if (theBar == this) theBar = nullptr;
}

wxRect ConfigurationBar::BannerRect() const {
  return wxRect(0, 0, GetClientSize().x, kBannerHeight);
}

wxRect ConfigurationBar::TitleRect() const {
  const int r = GetClientSize().x;
  return wxRect(wxPoint(20, 10), wxPoint(r - 100 - 1, 25 - 1));
}

wxRect ConfigurationBar::HintRect() const {
  const int r = GetClientSize().x;
  return wxRect(wxPoint(40, 30), wxPoint(r - 100 - 1, kBannerHeight - 1));
}

wxRect ConfigurationBar::TabStripRect() const {
  return wxRect(0, kBannerHeight + kLine, GetClientSize().x, kTabStripHeight);
}

wxRect ConfigurationBar::PageRect() const {
  const wxSize size = GetClientSize();
  const int top = kBannerHeight + kLine + kTabStripHeight + kLine;
  return wxRect(0, top, size.x, std::max(0, size.y - kLine - top));
}

void ConfigurationBar::Relayout() {
  if (tabs_) tabs_->SetSize(TabStripRect().Deflate(4, 2));
  for (PageDialog* page : pages_) page->SetSize(PageRect());
}

void ConfigurationBar::ShowCurrentPage() {
  for (int i = 0; i < PageCount(); ++i) Page(i)->Show(i == current_);
}

bool ConfigurationBar::CommitCurrentPage() {
  return current_ < 0 || Page(current_)->ExchangeData(true);
}

bool ConfigurationBar::SwitchTo(int index) {
  if (index < 0 || index >= PageCount()) return false;
  tabs_->SetSelection(index);
  wxCommandEvent event(bmEVT_TAB_SELCHANGE, tabs_->GetId());
  event.SetInt(index);
  OnTabChanged(event);
  return current_ == index;
}

void ConfigurationBar::OnTabChanged(wxCommandEvent& event) {
  const int index = event.GetInt();
  if (index == current_ || index < 0 || index >= PageCount()) return;
  PageDialog* leaving = Page(current_);
  if (!leaving->ExchangeData(true)) {
    tabs_->SetSelection(current_);
    // The click that changed the tab also took the focus: give it back once that is over.
    CallAfter([leaving] { leaving->FocusFailedControl(); });
    return;
  }
  current_ = index;
  ShowCurrentPage();
  Refresh();
}

void ConfigurationBar::DrawEtchedLine(wxDC& dc, const wxRect& line) const {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(kGrey));
  dc.DrawRectangle(line.x, line.y, line.width, line.height / 2);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawRectangle(line.x, line.y + line.height / 2, line.width, line.height - line.height / 2);
}

void ConfigurationBar::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize size = GetClientSize();
  const wxRect banner = BannerRect();

  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawRectangle(banner);
  // One-pixel sunken edge: grey on top and left, white on bottom and right.
  dc.SetPen(wxPen(kGrey));
  dc.DrawLine(banner.GetLeft(), banner.GetBottom(), banner.GetLeft(), banner.GetTop());
  dc.DrawLine(banner.GetLeft(), banner.GetTop(), banner.GetRight() + 1, banner.GetTop());
  dc.SetPen(*wxWHITE_PEN);
  dc.DrawLine(banner.GetRight(), banner.GetTop() + 1, banner.GetRight(), banner.GetBottom());
  dc.DrawLine(banner.GetLeft() + 1, banner.GetBottom(), banner.GetRight() + 1, banner.GetBottom());

  if (current_ >= 0) {
    const auto page = static_cast<std::size_t>(current_);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(*wxBLACK);
    {
      const wxRect title = TitleRect();
      wxDCClipper clip(dc, title);
      dc.SetFont(boldFont_);
      dc.DrawText(wxControl::RemoveMnemonics(WxText(FrameTexts::PageCaptions[page])),
                  title.GetTopLeft());
    }
    {
      const wxRect hint = HintRect();
      wxDCClipper clip(dc, hint);
      dc.SetFont(normalFont_);
      int y = hint.y;
      for (const wxString& line : WrapWords(dc, WxText(FrameTexts::PageHints[page]), hint.width)) {
        dc.DrawText(line, hint.x, y);
        y += dc.GetCharHeight();
      }
    }
  }

  DrawEtchedLine(dc, wxRect(0, kBannerHeight, size.x, kLine));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(kStripFill));
  dc.DrawRectangle(TabStripRect());
  DrawEtchedLine(dc, wxRect(0, TabStripRect().GetBottom() + 1, size.x, kLine));
  DrawEtchedLine(dc, wxRect(0, size.y - kLine, size.x, kLine));
}

void ConfigurationBar::OnSize(wxSizeEvent& event) {
  Relayout();
  Refresh();
  event.Skip();
}

void ConfigurationBar::OnEraseBackground(wxEraseEvent&) {}

void ConfigurationBar::OnFocus(wxFocusEvent&) {
  if (current_ >= 0) Page(current_)->SetFocus();
}
