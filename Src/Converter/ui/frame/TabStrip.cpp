#include "ui/frame/TabStrip.h"

#include <wx/dcbuffer.h>

#include <algorithm>

wxDEFINE_EVENT(bmEVT_TAB_SELCHANGE, wxCommandEvent);

namespace {
constexpr int kTextPadding = 16;  // pixels beside the widest caption
constexpr int kGap = 3;           // pixels between two tabs
const wxColour kStripFill(212, 208, 200);
const wxColour kShadow(128, 128, 128);
const wxColour kPressedFill(232, 229, 222);
}  // namespace

wxBEGIN_EVENT_TABLE(TabStrip, wxControl)
  EVT_PAINT(TabStrip::OnPaint)
  EVT_LEFT_DOWN(TabStrip::OnMouseDown)
  EVT_LEFT_DCLICK(TabStrip::OnMouseDown)
  EVT_MOTION(TabStrip::OnMouseMove)
  EVT_LEAVE_WINDOW(TabStrip::OnMouseLeave)
  EVT_KEY_DOWN(TabStrip::OnKeyDown)
  EVT_SET_FOCUS(TabStrip::OnFocus)
  EVT_KILL_FOCUS(TabStrip::OnFocus)
wxEND_EVENT_TABLE()

TabStrip::TabStrip(wxWindow* parent, wxWindowID id)
    : wxControl(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxWANTS_CHARS) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
}

void TabStrip::AddTab(const wxString& caption) {
  captions_.push_back(caption);
  if (selection_ < 0) selection_ = 0;
  InvalidateBestSize();
  Refresh();
}

void TabStrip::SetSelection(int index) {
  if (index < 0 || index >= GetTabCount() || index == selection_) return;
  selection_ = index;
  Refresh();
}

int TabStrip::TabWidth() const {
  int widest = 0;
  for (const wxString& caption : captions_)
    widest = std::max(widest, GetTextExtent(wxControl::RemoveMnemonics(caption)).x);
  return widest + kTextPadding;
}

wxRect TabStrip::TabRect(int index) const {
  const int width = TabWidth();
  return wxRect(index * (width + kGap), 0, width, GetClientSize().y);
}

int TabStrip::HitTest(const wxPoint& point) const {
  for (int i = 0; i < GetTabCount(); ++i)
    if (TabRect(i).Contains(point)) return i;
  return -1;
}

wxSize TabStrip::DoGetBestSize() const {
  const int count = GetTabCount();
  return wxSize(count * TabWidth() + std::max(0, count - 1) * kGap, GetCharHeight() + 8);
}

void TabStrip::SelectByUser(int index) {
  if (index < 0 || index >= GetTabCount() || index == selection_) return;
  SetSelection(index);
  wxCommandEvent event(bmEVT_TAB_SELCHANGE, GetId());
  event.SetEventObject(this);
  event.SetInt(index);
  GetParent()->GetEventHandler()->ProcessEvent(event);
}

void TabStrip::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(kStripFill));
  dc.Clear();
  dc.SetFont(GetFont());
  dc.SetTextForeground(*wxBLACK);
  for (int i = 0; i < GetTabCount(); ++i) {
    const wxRect r = TabRect(i);
    const bool pressed = i == selection_;
    if (pressed || i == hot_) {
      if (pressed) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(kPressedFill));
        dc.DrawRectangle(r);
      }
      // A raised edge is light on top and left, dark on bottom and right; pressed is
      // the other way round.
      const wxColour& topLeft = pressed ? kShadow : *wxWHITE;
      const wxColour& bottomRight = pressed ? *wxWHITE : kShadow;
      dc.SetPen(wxPen(topLeft));
      dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
      dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
      dc.SetPen(wxPen(bottomRight));
      dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
      dc.DrawLine(r.GetRight(), r.GetBottom(), r.GetLeft() - 1, r.GetBottom());
    }
    wxRect text = r;
    if (pressed) text.Offset(1, 1);
    dc.DrawLabel(wxControl::RemoveMnemonics(captions_[static_cast<std::size_t>(i)]), text,
                 wxALIGN_CENTER);
    if (pressed && HasFocus()) {
      dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.DrawRectangle(wxRect(r).Deflate(3));
    }
  }
}

void TabStrip::OnMouseDown(wxMouseEvent& event) {
  SetFocus();
  SelectByUser(HitTest(event.GetPosition()));
}

void TabStrip::OnMouseMove(wxMouseEvent& event) {
  const int hot = HitTest(event.GetPosition());
  if (hot != hot_) {
    hot_ = hot;
    Refresh();
  }
}

void TabStrip::OnMouseLeave(wxMouseEvent&) {
  if (hot_ != -1) {
    hot_ = -1;
    Refresh();
  }
}

void TabStrip::OnKeyDown(wxKeyEvent& event) {
  const int count = GetTabCount();
  switch (event.GetKeyCode()) {
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
      if (selection_ > 0) SelectByUser(selection_ - 1);
      break;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
      if (selection_ + 1 < count) SelectByUser(selection_ + 1);
      break;
    case WXK_TAB:
      Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                                 : wxNavigationKeyEvent::IsForward);
      break;
    default: event.Skip();
  }
}

void TabStrip::OnFocus(wxFocusEvent& event) {
  Refresh();
  event.Skip();
}
