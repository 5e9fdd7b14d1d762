// System measures used by the colour picker and its popup. The toolkit reports some of
// them as -1 on this platform; those take the usual desktop values.
#pragma once

#include <wx/settings.h>

#include <algorithm>

inline int SystemMetricOr(wxSystemMetric metric, int fallback, const wxWindow* win = nullptr) {
  const int value = wxSystemSettings::GetMetric(metric, win);
  return value > 0 ? value : fallback;
}

inline int EdgeWidth(const wxWindow* win = nullptr) { return SystemMetricOr(wxSYS_EDGE_X, 2, win); }
inline int EdgeHeight(const wxWindow* win = nullptr) {
  return SystemMetricOr(wxSYS_EDGE_Y, 2, win);
}

// The side of the picker's drop-down arrow: the larger of five edges and a scroll-bar
// thumb, across and down.
inline int PickerArrowSize(const wxWindow* win = nullptr) {
  const int across = std::max(5 * EdgeWidth(win), SystemMetricOr(wxSYS_HTHUMB_X, 17, win));
  const int down = std::max(5 * EdgeHeight(win), SystemMetricOr(wxSYS_VTHUMB_Y, 17, win));
  return std::max(across, down);
}
