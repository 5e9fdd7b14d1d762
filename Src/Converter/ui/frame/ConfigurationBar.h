// ConfigurationBar: the child window that fills the main window's client area. A white
// banner names the current page (bold caption, wrapped hint), a strip of tabs below it
// selects the page, and the pages (PageDialogs) fill the rest; etched lines separate the
// three. Switching away from a page first commits it; a page that refuses keeps its tab.
#pragma once

#include <wx/window.h>

#include <functional>
#include <vector>

#include "ui/pages/PageDialog.h"

class TabStrip;

class ConfigurationBar : public wxWindow {
 public:
  // Makes a page as a child of the bar.
  using PageFactory = std::function<PageDialog*(wxWindow* parent)>;
  // The pages "Select Files", "Resize Option" and "Shadow && Overlay".
  static std::vector<PageFactory> DefaultPages();

  ConfigurationBar(wxWindow* parent, wxWindowID id,
                   std::vector<PageFactory> pages = DefaultPages());
  ~ConfigurationBar() override;

  // False when a page could not be made; the bar is then unusable.
  bool IsValid() const { return valid_; }

  int PageCount() const { return static_cast<int>(pages_.size()); }
  PageDialog* Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }
  int CurrentPage() const { return current_; }
  TabStrip* Tabs() const { return tabs_; }

  // Selects a page as a click on its tab does: the current page commits first and a
  // failure keeps it. True when `index` is current afterwards.
  bool SwitchTo(int index);
  // Commits the current page as a switch would; the result is only reported.
  bool CommitCurrentPage();

  // Layout rectangles, from the client rectangle.
  wxRect BannerRect() const;
  wxRect TitleRect() const;
  wxRect HintRect() const;
  wxRect TabStripRect() const;
  wxRect PageRect() const;

 private:
  void ShowCurrentPage();
  void Relayout();
  void DrawEtchedLine(wxDC& dc, const wxRect& line) const;
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnEraseBackground(wxEraseEvent& event);
  void OnTabChanged(wxCommandEvent& event);
  void OnFocus(wxFocusEvent& event);

  TabStrip* tabs_ = nullptr;
  std::vector<PageDialog*> pages_;  // children of the bar, destroyed with it
  int current_ = -1;
  wxFont normalFont_;
  wxFont boldFont_;
  bool valid_ = false;

  wxDECLARE_EVENT_TABLE();
};

// The bar of the main window, or nullptr while there is none.
ConfigurationBar* TheConfigurationBar();
