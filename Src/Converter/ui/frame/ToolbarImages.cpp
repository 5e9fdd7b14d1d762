#include "ui/frame/ToolbarImages.h"

#include <wx/image.h>

#include "ui/resources/ResourceIds.h"
#include "ui/resources/ToolbarImages.xpm"

wxBitmap ToolbarImage(int stripId, int index) {
  const wxBitmap strip(stripId == Res::ToolbarHotImages ? kToolbarImages135 : kToolbarImages134);
  const wxRect cell(index * kToolImageSize, 0, kToolImageSize, kToolImageSize);
  wxImage image = strip.ConvertToImage().GetSubImage(cell);
  image.SetMaskColour(255, 0, 255);
  return wxBitmap(image);
}
