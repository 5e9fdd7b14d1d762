#include "ui/colour/ColourPopup.h"

#include <wx/dcbuffer.h>
#include <wx/display.h>
#include <wx/wx.h>

#include "ui/colour/ColourConversion.h"
#include "ui/colour/ColourEdges.h"
#include "ui/colour/ColourMetrics.h"
#include "ui/colour/ColourPicker.h"
#include "ui/colour/ColourPopupNavigation.h"

namespace {

wxColour Sys(wxSystemColour c) { return wxSystemSettings::GetColour(c); }

void FillRect(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(rect);
}

void OutlineRect(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  dc.SetPen(wxPen(colour));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(rect);
}

// One line centred in `rect`, taken literally (no mnemonic underlines).
void DrawCentredText(wxDC& dc, const wxString& text, const wxRect& rect) {
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, rect.x + (rect.width - extent.x) / 2, rect.y + (rect.height - extent.y) / 2);
}

// The hot box (under the keyboard cursor or the pointer) gets a two-pixel frame in the
// theme's selection colour on its outer edge; the box of the opening colour a frame in
// the text colour inside that, two pixels wide while it is not hot. Both stand out from
// the button face, unlike the light 3-D edges.
void PaintBoxMarks(wxDC& dc, const wxRect& rect, bool hot, bool chosen) {
  if (chosen) {
    OutlineRect(dc, wxRect(rect).Deflate(2), Sys(wxSYS_COLOUR_BTNTEXT));
    if (!hot) OutlineRect(dc, wxRect(rect).Deflate(1), Sys(wxSYS_COLOUR_BTNTEXT));
  }
  if (hot) {
    OutlineRect(dc, rect, Sys(wxSYS_COLOUR_HIGHLIGHT));
    OutlineRect(dc, wxRect(rect).Deflate(1), Sys(wxSYS_COLOUR_HIGHLIGHT));
  }
}

int ChosenBoxFor(COLORREF colour, bool hasDefault, bool hasCustom) {
  if (hasDefault && colour == DefaultColour) return DefaultBox;
  const int index = FindColourIndex(colour);
  if (index >= 0) return index;
  return hasCustom ? CustomBox : NoBox;
}

std::optional<ColourArrow> ArrowOf(int keyCode) {
  switch (keyCode) {
    case WXK_UP:
    case WXK_NUMPAD_UP: return ColourArrow::Up;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN: return ColourArrow::Down;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT: return ColourArrow::Left;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: return ColourArrow::Right;
    default: return std::nullopt;
  }
}

}  // namespace

ColourPopup::~ColourPopup() {
  if (HasCapture()) ReleaseMouse();
  wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &ColourPopup::OnAppActivate, this);
}

bool ColourPopup::Open(CColourPicker* picker, wxPoint topLeft, COLORREF colour,
                       const wxString& defaultText, const wxString& customText) {
  if (!Create(picker, wxBORDER_NONE)) return false;
  picker_ = picker;
  defaultText_ = defaultText;
  customText_ = customText;
  SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  LayOut(topLeft);
  chosenIndex_ = ChosenBoxFor(colour, layout_.hasDefault, layout_.hasCustom);
  initialColour_ = chosenColour_ = colour;

  Bind(wxEVT_PAINT, &ColourPopup::OnPaint, this);
  Bind(wxEVT_MOTION, &ColourPopup::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &ColourPopup::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &ColourPopup::OnCaptureLost, this);
  wxTheApp->Bind(wxEVT_ACTIVATE_APP, &ColourPopup::OnAppActivate, this);

  Show();
  CaptureMouse();
  return true;
}

void ColourPopup::LayOut(wxPoint topLeft) {
  const int margin = EdgeWidth(this);
  const wxSize defaultSize = defaultText_.empty() ? wxSize() : GetTextExtent(defaultText_);
  const wxSize customSize = customText_.empty() ? wxSize() : GetTextExtent(customText_);
  layout_ = LayOutColourPopup(margin, !defaultText_.empty(), defaultSize, !customText_.empty(),
                              customSize);

  int displayIndex = wxDisplay::GetFromWindow(picker_);
  if (displayIndex == wxNOT_FOUND) displayIndex = 0;
  const wxRect screen = wxDisplay(static_cast<unsigned>(displayIndex)).GetGeometry();
  const int pickerTop = picker_->GetScreenRect().y;
  const wxPoint at = PlaceColourPopup(topLeft, layout_.size, pickerTop, screen);
  SetSize(at.x, at.y, layout_.size.x, layout_.size.y);
  windowRect_ = wxRect(at, layout_.size);
}

bool ColourPopup::HandleKey(int keyCode) {
  if (ended_) return false;
  switch (keyCode) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_SPACE: End(ColourSelEndOk); return true;
    case WXK_ESCAPE:
      chosenColour_ = initialColour_;
      End(ColourSelEndCancel);
      return true;
    default: break;
  }
  if (const auto arrow = ArrowOf(keyCode)) {
    Select(NextColourBox(hotIndex_, *arrow, layout_.hasDefault, layout_.hasCustom));
    return true;
  }
  return false;
}

void ColourPopup::Select(int box) {
  // Only the two boxes concerned are redrawn.
  RefreshRect(layout_.BoxRect(hotIndex_));
  hotIndex_ = box;
  RefreshRect(layout_.BoxRect(hotIndex_));

  COLORREF reported = initialColour_;
  if (box == DefaultBox) {
    chosenColour_ = reported = DefaultColour;
  } else if (box >= 0 && box < ColourCount) {
    chosenColour_ = reported = ColourTable[box].colour;
  }
  Notify(ColourSelChange, reported);
}

void ColourPopup::End(ColourMessage message) {
  if (ended_) return;
  ended_ = true;
  if (HasCapture()) ReleaseMouse();
  wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &ColourPopup::OnAppActivate, this);
  if (message == ColourSelEndOk && hotIndex_ == CustomBox && !ChooseCustomColour()) {
    message = ColourSelEndCancel;
  }
  if (message == ColourSelEndCancel) chosenColour_ = initialColour_;
  Hide();
  Notify(message, chosenColour_);
}

bool ColourPopup::ChooseCustomColour() {
  if (!picker_) return false;
  colourDialogOpen_ = true;
  // The popup lies above every other window; hidden, it cannot cover the dialog.
  Hide();
  COLORREF colour = initialColour_;
  const bool accepted = picker_->ChooseCustomColour(initialColour_, colour);
  if (accepted) chosenColour_ = colour;
  colourDialogOpen_ = false;
  return accepted;
}

void ColourPopup::Detach() {
  picker_ = nullptr;
  ended_ = true;
  if (HasCapture()) ReleaseMouse();
}

void ColourPopup::Notify(ColourMessage message, COLORREF colour) {
  if (picker_) picker_->OnPopupMessage(message, colour);
}

void ColourPopup::UpdateToolTip(std::optional<int> box) {
  const int cell = box && *box >= 0 ? *box : NoBox;
  if (cell == toolTipBox_) return;
  toolTipBox_ = cell;
  if (cell == NoBox) {
    UnsetToolTip();
  } else {
    SetToolTip(wxString::FromUTF8(ColourTable[cell].name));
  }
}

void ColourPopup::OnMotion(wxMouseEvent& event) {
  if (ended_) return;
  const std::optional<int> box = layout_.HitTest(event.GetPosition());
  UpdateToolTip(box);
  if (box && *box != hotIndex_) Select(*box);
}

void ColourPopup::OnLeftUp(wxMouseEvent& event) {
  if (ended_) return;
  // The popup holds the mouse, so releases anywhere arrive here; outside it they cancel.
  const wxPoint onScreen = ClientToScreen(event.GetPosition());
  End(windowRect_.Contains(onScreen) ? ColourSelEndOk : ColourSelEndCancel);
}

void ColourPopup::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // Take the mouse back once the window that grabbed it is done.
  CallAfter([this] {
    if (!ended_ && !colourDialogOpen_ && IsShown() && !HasCapture()) CaptureMouse();
  });
}

void ColourPopup::OnAppActivate(wxActivateEvent& event) {
  event.Skip();
  if (!event.GetActive() && !colourDialogOpen_) End(ColourSelEndCancel);
}

void ColourPopup::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetFont(GetFont());
  const wxRect client(GetClientSize());
  FillRect(dc, client, Sys(wxSYS_COLOUR_BTNFACE));
  if (layout_.hasDefault) PaintTextBox(dc, DefaultBox, layout_.defaultRect, defaultText_);
  for (int i = 0; i < ColourCount; ++i) PaintCell(dc, i);
  if (layout_.hasCustom) {
    // An etched line separates the grid from the box, which starts 2 margins lower.
    const wxRect& r = layout_.customRect;
    const int inset = 2 * layout_.margin;
    DrawEtchedLine(dc, r.x + inset, r.GetRight() - inset, r.y);
    wxRect box = r;
    box.y += inset;
    box.height -= inset;
    PaintTextBox(dc, CustomBox, box, customText_);
  }
  DrawRaisedEdge(dc, client);
}

void ColourPopup::PaintCell(wxDC& dc, int index) {
  const wxRect rect = layout_.CellRect(index);
  const bool hot = index == hotIndex_;
  const bool chosen = index == chosenIndex_;
  FillRect(dc, rect, Sys(wxSYS_COLOUR_BTNFACE));
  PaintBoxMarks(dc, rect, hot, chosen);
  const wxRect swatch = wxRect(rect).Deflate(layout_.margin + 1);
  dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNSHADOW)));
  dc.SetBrush(wxBrush(ToWxColour(ColourTable[index].colour)));
  dc.DrawRectangle(swatch);
}

void ColourPopup::PaintTextBox(wxDC& dc, int box, const wxRect& rect, const wxString& text) {
  const bool hot = box == hotIndex_;
  const bool chosen = box == chosenIndex_;
  FillRect(dc, rect, Sys(wxSYS_COLOUR_BTNFACE));
  const wxRect inner = wxRect(rect).Deflate(1);
  FillRect(dc, inner, Sys(wxSYS_COLOUR_BTNFACE));
  OutlineRect(dc, wxRect(inner).Deflate(2 * layout_.margin), Sys(wxSYS_COLOUR_BTNSHADOW));
  PaintBoxMarks(dc, inner, hot, chosen);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(Sys(wxSYS_COLOUR_BTNTEXT));
  DrawCentredText(dc, text, inner);
}
