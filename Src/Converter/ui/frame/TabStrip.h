// TabStrip: the configuration bar's row of tabs, drawn as flat buttons of one width: the
// selected tab looks pressed, the tab under the mouse looks raised. A click or the arrow
// keys select a tab and then send bmEVT_TAB_SELCHANGE (its int is the new index) to the
// parent, which may set the selection back; SetSelection itself sends nothing.
#pragma once

#include <wx/control.h>

#include <vector>

wxDECLARE_EVENT(bmEVT_TAB_SELCHANGE, wxCommandEvent);

class TabStrip : public wxControl {
 public:
  TabStrip(wxWindow* parent, wxWindowID id);

  void AddTab(const wxString& caption);  // "&&" shows as "&"
  int GetTabCount() const { return static_cast<int>(captions_.size()); }
  const wxString& GetTabCaption(int index) const {
    return captions_[static_cast<std::size_t>(index)];
  }
  int GetSelection() const { return selection_; }
  void SetSelection(int index);
  // The tab's rectangle in the strip's client coordinates.
  wxRect TabRect(int index) const;
  // The tab at a client position, or -1.
  int HitTest(const wxPoint& point) const;

  bool AcceptsFocus() const override { return true; }

 protected:
  wxSize DoGetBestSize() const override;

 private:
  int TabWidth() const;
  void SelectByUser(int index);
  void OnPaint(wxPaintEvent& event);
  void OnMouseDown(wxMouseEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnMouseLeave(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnFocus(wxFocusEvent& event);

  std::vector<wxString> captions_;
  int selection_ = -1;
  int hot_ = -1;

  wxDECLARE_EVENT_TABLE();
};
