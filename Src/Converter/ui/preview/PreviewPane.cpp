#include "ui/preview/PreviewPane.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

constexpr int kCheckerSize = 8;
const wxColour kCheckerLight(204, 204, 204);
const wxColour kCheckerDark(153, 153, 153);

}  // namespace

PreviewPane::PreviewPane(wxWindow* parent, const wxString& caption)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(160, 160), wxFULL_REPAINT_ON_RESIZE),
      caption_(caption) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &PreviewPane::OnPaint, this);
  Bind(wxEVT_SIZE, &PreviewPane::OnSize, this);
}

void PreviewPane::SetPicture(const wxImage& picture) {
  picture_ = picture;
  scaled_ = wxBitmap();
  Refresh();
}

void PreviewPane::ClearPicture() { SetPicture(wxImage()); }

void PreviewPane::SetCaption(const wxString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Refresh();
}

// The pane less two lines of text at the bottom for the caption.
wxRect PreviewPane::DrawingArea() const {
  const wxSize size = GetClientSize();
  const int captionHeight = 2 * GetCharHeight() + 6;
  return wxRect(0, 0, size.x, std::max(size.y - captionHeight, 0));
}

wxRect PreviewPane::PictureRect() const {
  if (!picture_.IsOk()) return {};
  const wxRect area = DrawingArea();
  const int w = picture_.GetWidth(), h = picture_.GetHeight();
  // The larger of the two reductions that fit, never an enlargement.
  const double scale =
      std::min({1.0, area.width / static_cast<double>(w), area.height / static_cast<double>(h)});
  const int sw = std::max(1, static_cast<int>(w * scale)),
            sh = std::max(1, static_cast<int>(h * scale));
  return wxRect(area.x + (area.width - sw) / 2, area.y + (area.height - sh) / 2, sw, sh);
}

void PreviewPane::OnSize(wxSizeEvent& event) {
  scaled_ = wxBitmap();
  Refresh();
  event.Skip();
}

void PreviewPane::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.Clear();
  const wxRect at = PictureRect();
  if (!at.IsEmpty()) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    for (int y = at.y; y < at.GetBottom() + 1; y += kCheckerSize)
      for (int x = at.x; x < at.GetRight() + 1; x += kCheckerSize) {
        const bool light = ((x - at.x) / kCheckerSize + (y - at.y) / kCheckerSize) % 2 == 0;
        dc.SetBrush(wxBrush(light ? kCheckerLight : kCheckerDark));
        dc.DrawRectangle(x, y, std::min(kCheckerSize, at.GetRight() + 1 - x),
                         std::min(kCheckerSize, at.GetBottom() + 1 - y));
      }
    if (!scaled_.IsOk() || scaled_.GetSize() != at.GetSize()) {
      const bool whole = at.GetSize() == picture_.GetSize();
      scaled_ =
          wxBitmap(whole ? picture_ : picture_.Scale(at.width, at.height, wxIMAGE_QUALITY_HIGH));
    }
    dc.DrawBitmap(scaled_, at.GetTopLeft(), true);
  }
  const wxRect area = DrawingArea();
  dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
  dc.SetFont(GetFont());
  dc.DrawLabel(caption_,
               wxRect(0, area.GetBottom() + 1, GetClientSize().x, GetClientSize().y - area.height),
               wxALIGN_CENTER);
}
