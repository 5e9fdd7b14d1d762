#include "ui/colour/ColourEdges.h"

#include <wx/pen.h>
#include <wx/settings.h>

namespace {

wxColour Sys(wxSystemColour c) { return wxSystemSettings::GetColour(c); }

void Ring(wxDC& dc, const wxRect& r, const wxColour& topLeft, const wxColour& bottomRight) {
  if (r.width <= 0 || r.height <= 0) return;
  const int right = r.GetRight();
  const int bottom = r.GetBottom();
  dc.SetPen(wxPen(topLeft));
  dc.DrawLine(r.x, r.y, right, r.y);
  dc.DrawLine(r.x, r.y, r.x, bottom);
  dc.SetPen(wxPen(bottomRight));
  dc.DrawLine(r.x, bottom, right + 1, bottom);
  dc.DrawLine(right, r.y, right, bottom);
}

}  // namespace

wxRect DrawEdgeRing(wxDC& dc, const wxRect& rect, EdgeRing ring) {
  switch (ring) {
    case EdgeRing::RaisedOuter:
      Ring(dc, rect, Sys(wxSYS_COLOUR_3DLIGHT), Sys(wxSYS_COLOUR_3DDKSHADOW));
      break;
    case EdgeRing::RaisedInner:
      Ring(dc, rect, Sys(wxSYS_COLOUR_BTNHIGHLIGHT), Sys(wxSYS_COLOUR_BTNSHADOW));
      break;
    case EdgeRing::SunkenOuter:
      Ring(dc, rect, Sys(wxSYS_COLOUR_BTNSHADOW), Sys(wxSYS_COLOUR_BTNHIGHLIGHT));
      break;
    case EdgeRing::SunkenInner:
      Ring(dc, rect, Sys(wxSYS_COLOUR_3DDKSHADOW), Sys(wxSYS_COLOUR_3DLIGHT));
      break;
  }
  return wxRect(rect).Deflate(1);
}

wxRect DrawRaisedEdge(wxDC& dc, const wxRect& rect) {
  return DrawEdgeRing(dc, DrawEdgeRing(dc, rect, EdgeRing::RaisedOuter), EdgeRing::RaisedInner);
}

wxRect DrawSunkenEdge(wxDC& dc, const wxRect& rect) {
  return DrawEdgeRing(dc, DrawEdgeRing(dc, rect, EdgeRing::SunkenOuter), EdgeRing::SunkenInner);
}

void DrawEtchedLine(wxDC& dc, int left, int right, int y) {
  dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNSHADOW)));
  dc.DrawLine(left, y, right, y);
  dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNHIGHLIGHT)));
  dc.DrawLine(left, y + 1, right, y + 1);
}
