#include "ui/list/StatusIcons.h"

#include <wx/image.h>

#include "ui/resources/StatusIcons.xpm"

wxImageList* MakeStatusImageList() {
  const wxImage strip = wxBitmap(kStatusIcons142).ConvertToImage();
  auto* list = new wxImageList(kStatusIconSize, kStatusIconSize, true, kStatusIconCount);
  for (int i = 0; i < kStatusIconCount; ++i) {
    wxImage cell =
        strip.GetSubImage(wxRect(i * kStatusIconSize, 0, kStatusIconSize, kStatusIconSize));
    cell.SetMaskColour(255, 0, 255);
    list->Add(wxBitmap(cell));
  }
  return list;
}
