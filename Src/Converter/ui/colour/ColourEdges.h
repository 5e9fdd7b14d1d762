// Three-dimensional edges in the system's button colours for the colour picker and its
// popup: one-pixel raised or sunken rings, the double-ring raised and sunken frames, and
// the etched separator line.
#pragma once

#include <wx/dc.h>
#include <wx/gdicmn.h>

enum class EdgeRing { RaisedOuter, RaisedInner, SunkenOuter, SunkenInner };

// Draws one ring of `rect`: its top and left lines in one colour, bottom and right in the
// other. Returns `rect` shrunk by the ring.
wxRect DrawEdgeRing(wxDC& dc, const wxRect& rect, EdgeRing ring);

// A raised frame (outer and inner raised rings), as around a popup.
wxRect DrawRaisedEdge(wxDC& dc, const wxRect& rect);
// A sunken frame (outer and inner sunken rings), as around a field.
wxRect DrawSunkenEdge(wxDC& dc, const wxRect& rect);

// A horizontal etched line: a shadow line with a highlight line under it.
void DrawEtchedLine(wxDC& dc, int left, int right, int y);
