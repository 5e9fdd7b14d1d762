#include "ui/colour/ColourPicker.h"

#include <wx/colordlg.h>
#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/wx.h>

#include <algorithm>

#include "ui/colour/ColourConversion.h"
#include "ui/colour/ColourEdges.h"
#include "ui/colour/ColourMetrics.h"
#include "ui/colour/ColourPopup.h"

namespace {

wxColour Sys(wxSystemColour c) { return wxSystemSettings::GetColour(c); }

bool OpensPopup(int keyCode) {
  return keyCode == WXK_SPACE || keyCode == WXK_RETURN || keyCode == WXK_NUMPAD_ENTER;
}

}  // namespace

CColourPicker::CColourPicker(wxWindow* parent, wxWindowID id, const wxString& caption,
                             const wxPoint& pos, const wxSize& size, long style)
    : backgroundColour_(ToColourRef(Sys(wxSYS_COLOUR_BTNFACE))),
      textColour_(ToColourRef(Sys(wxSYS_COLOUR_BTNTEXT))) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(parent, id, pos, size, style | wxBORDER_NONE);
  wxControl::SetLabel(caption);
  SetWindowSize();

  Bind(wxEVT_PAINT, &CColourPicker::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &CColourPicker::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &CColourPicker::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CColourPicker::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CColourPicker::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CColourPicker::OnCaptureLost, this);
  Bind(wxEVT_CHAR_HOOK, &CColourPicker::OnCharHook, this);
  Bind(wxEVT_KEY_DOWN, &CColourPicker::OnKeyDown, this);
  Bind(wxEVT_SET_FOCUS, &CColourPicker::OnFocusChange, this);
  Bind(wxEVT_KILL_FOCUS, &CColourPicker::OnFocusChange, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    Refresh();
    event.Skip();
  });
}

CColourPicker::~CColourPicker() {
  // The popup is a child window and goes with us; it must not call back meanwhile.
  if (popup_) popup_->Detach();
  if (HasCapture()) ReleaseMouse();
}

void CColourPicker::SetColour(COLORREF colour) {
  if (selectionMode_ == 1) {
    SetTextColour(colour);
  } else {
    SetBkColour(colour);
  }
}

COLORREF CColourPicker::GetColour() const {
  return selectionMode_ == 1 ? textColour_ : backgroundColour_;
}

void CColourPicker::SetBkColour(COLORREF colour) {
  backgroundColour_ = colour;
  Refresh();
  Update();
}

void CColourPicker::SetTextColour(COLORREF colour) {
  textColour_ = colour;
  Refresh();
  Update();
}

void CColourPicker::SetLabel(const wxString& label) {
  wxControl::SetLabel(label);
  InvalidateBestSize();
  Refresh();
}

bool CColourPicker::Enable(bool enable) {
  const bool changed = wxControl::Enable(enable);
  if (changed) Refresh();
  return changed;
}

// The height holds the arrow and two edges; the width at least two arrows' room.
void CColourPicker::SetWindowSize() {
  const int arrow = PickerArrowSize(this);
  const int width = std::max(GetSize().x, 2 * (EdgeWidth(this) + arrow));
  const int height = arrow + 2 * EdgeHeight(this);
  SetSize(width, height);
  SetMinSize(wxSize(2 * (EdgeWidth(this) + arrow), height));
}

wxSize CColourPicker::DoGetBestSize() const {
  const int arrow = PickerArrowSize(this);
  const int edge = EdgeWidth(this);
  const int textWidth = GetTextExtent(GetLabelText()).x;
  // Room for the caption with a few pixels either side, the arrow and the edges.
  const int width = std::max(textWidth + 4 * edge + 8 + arrow + edge, 2 * (edge + arrow));
  return wxSize(width, arrow + 2 * EdgeHeight(this));
}

wxRect CColourPicker::GetArrowRect() const {
  const wxSize size = GetClientSize();
  const int arrow = PickerArrowSize(this);
  const int edgeX = EdgeWidth(this);
  const int edgeY = EdgeHeight(this);
  return wxRect(wxPoint(size.x - arrow - edgeX, edgeY),
                wxPoint(size.x - edgeX - 1, size.y - edgeY - 1));
}

void CColourPicker::OpenPopup() {
  if (popupActive_) return;
  popupActive_ = true;
  Refresh();
  Update();
  const wxRect me = GetScreenRect();
  const COLORREF colour = GetColour();
  popup_ = CreatePopup(wxPoint(me.x, me.y + me.height), colour);
  if (!popup_) {
    // Nothing opened, so nothing is announced and the button comes back up.
    popupActive_ = false;
    Refresh();
    return;
  }
  Notify(ColourDropDown, colour);
}

ColourPopup* CColourPicker::CreatePopup(wxPoint topLeft, COLORREF colour) {
  auto* popup = new ColourPopup;
  if (popup->Open(this, topLeft, colour, defaultText_, customText_)) return popup;
  delete popup;
  return nullptr;
}

void CColourPicker::OnPopupMessage(ColourMessage message, COLORREF colour) {
  switch (message) {
    case ColourSelChange:
      if (trackSelection_) SetColour(colour);
      Notify(ColourSelChange, colour);
      break;
    case ColourSelEndOk:
    case ColourSelEndCancel:
      // A cancel brings back the opening colour, which undoes any tracking.
      popupActive_ = false;
      ClosePopup();
      SetColour(colour);
      Notify(ColourCloseUp, colour);
      Notify(message, colour);
      break;
    default: break;
  }
}

void CColourPicker::ClosePopup() {
  ColourPopup* popup = popup_;
  popup_ = nullptr;
  if (!popup) return;
  popup->Hide();
  // The popup is still inside its own handler; it goes once that has returned. Should we
  // go first, it goes with us as our child and this call is dropped with our events.
  CallAfter([popup] { popup->Destroy(); });
}

bool CColourPicker::ChooseCustomColour(COLORREF initial, COLORREF& chosen) {
  wxColourData data;
  data.SetChooseFull(true);
  data.SetColour(ToWxColour(initial));
  wxColourDialog dialog(wxGetTopLevelParent(this), &data);
  if (dialog.ShowModal() != wxID_OK) return false;
  chosen = ToColourRef(dialog.GetColourData().GetColour());
  return true;
}

void CColourPicker::Notify(ColourMessage message, COLORREF colour) {
  ColourPickerEvent event(message, GetId(), colour);
  event.SetEventObject(this);
  HandleWindowEvent(event);
}

void CColourPicker::OnLeftDown(wxMouseEvent&) {
  if (popupActive_ || !IsEnabled()) return;
  SetFocus();
  pressed_ = pressedInside_ = true;
  if (!HasCapture()) CaptureMouse();
  Refresh();
}

void CColourPicker::OnMotion(wxMouseEvent& event) {
  if (!pressed_) return;
  const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
  if (inside != pressedInside_) {
    pressedInside_ = inside;
    Refresh();
  }
}

void CColourPicker::OnLeftUp(wxMouseEvent& event) {
  if (!pressed_) return;
  if (HasCapture()) ReleaseMouse();
  const bool click = wxRect(GetClientSize()).Contains(event.GetPosition());
  pressed_ = pressedInside_ = false;
  Refresh();
  if (click) OpenPopup();
}

void CColourPicker::OnCaptureLost(wxMouseCaptureLostEvent&) {
  pressed_ = pressedInside_ = false;
  Refresh();
}

// While the popup is open every key belongs to it, before the dialog or frame can take
// Escape, Enter or Tab for itself.
void CColourPicker::OnCharHook(wxKeyEvent& event) {
  if (!popup_) {
    event.Skip();
    return;
  }
  popup_->HandleKey(event.GetKeyCode());
}

void CColourPicker::OnKeyDown(wxKeyEvent& event) {
  // With the popup open, some keys arrive without the hook: they belong to it as well.
  if (popup_) {
    popup_->HandleKey(event.GetKeyCode());
    return;
  }
  if (!popupActive_ && IsEnabled() && OpensPopup(event.GetKeyCode()) && !event.HasAnyModifiers()) {
    OpenPopup();
    return;
  }
  event.Skip();
}

void CColourPicker::OnFocusChange(wxFocusEvent& event) {
  // The popup lives on our focus: without it no keys would reach it.
  if (event.GetEventType() == wxEVT_KILL_FOCUS && popup_ && !popup_->IsColourDialogOpen()) {
    popup_->End(ColourSelEndCancel);
  }
  Refresh();
  event.Skip();
}

void CColourPicker::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxRect client(GetClientSize());
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(Sys(wxSYS_COLOUR_BTNFACE)));
  dc.DrawRectangle(client);

  int flags = 0;
  if (IsPushed()) flags |= wxCONTROL_PRESSED;
  if (!IsEnabled()) flags |= wxCONTROL_DISABLED;
  const wxRect arrow = GetArrowRect();
  wxRendererNative::Get().DrawPushButton(this, dc, arrow, flags);
  wxRendererNative::Get().DrawDropArrow(this, dc, arrow, flags);

  wxRect swatch = DrawSunkenEdge(dc, client);
  swatch.width -= arrow.width;
  PaintSwatch(dc, swatch);
}

void CColourPicker::PaintSwatch(wxDC& dc, wxRect rect) {
  const bool enabled = IsEnabled();
  const bool automatic = backgroundColour_ == DefaultColour;
  dc.SetPen(*wxTRANSPARENT_PEN);
  const wxColour swatch =
      !enabled || automatic ? Sys(wxSYS_COLOUR_BTNFACE) : ToWxColour(backgroundColour_);
  dc.SetBrush(wxBrush(swatch));
  dc.DrawRectangle(rect);

  const wxString caption = GetLabelText();
  if (!caption.empty()) {
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxSize extent = dc.GetTextExtent(caption);
    const wxPoint at(rect.x + (rect.width - extent.x) / 2, rect.y + (rect.height - extent.y) / 2);
    if (enabled) {
      const wxColour text = textColour_ == DefaultColour ? *wxBLACK : ToWxColour(textColour_);
      // A picked text colour shows as picked; the caption over a picked swatch stays readable.
      dc.SetTextForeground(selectionMode_ == 1 ? text : ReadableOn(swatch, text));
      dc.DrawText(caption, at);
    } else {
      // Engraved: a highlight copy one pixel down and right under the shadow copy.
      dc.SetTextForeground(Sys(wxSYS_COLOUR_BTNHIGHLIGHT));
      dc.DrawText(caption, at + wxPoint(1, 1));
      dc.SetTextForeground(Sys(wxSYS_COLOUR_BTNSHADOW));
      dc.DrawText(caption, at);
    }
  }
  if (HasFocus()) wxRendererNative::Get().DrawFocusRect(this, dc, rect.Deflate(1));
}
