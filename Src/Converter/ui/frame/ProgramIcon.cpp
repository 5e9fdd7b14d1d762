#include "ui/frame/ProgramIcon.h"

#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/mstream.h>

#include "ui/resources/ProgramIcon.h"

namespace {

wxImage DecodePng(const unsigned char* data, std::size_t size) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(data, size);
  return wxImage(stream, wxBITMAP_TYPE_PNG);
}

}  // namespace

wxBitmap ProgramIconBitmap(int size) {
  wxImage image;
  switch (size) {
    case 16: image = DecodePng(kProgramIcon16, sizeof kProgramIcon16); break;
    case 32: image = DecodePng(kProgramIcon32, sizeof kProgramIcon32); break;
    case 48: image = DecodePng(kProgramIcon48, sizeof kProgramIcon48); break;
    default: return wxBitmap();
  }
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxIconBundle ProgramIcons() {
  wxIconBundle bundle;
  for (int size : kProgramIconSizes) {
    wxIcon icon;
    icon.CopyFromBitmap(ProgramIconBitmap(size));
    bundle.AddIcon(icon);
  }
  return bundle;
}
