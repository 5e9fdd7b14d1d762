// PreviewPane: one picture of the preview window, drawn centred on a grey checkerboard
// (which shows through transparent pixels) at its own size, or scaled down to fit when
// the pane is smaller; never enlarged. A caption of up to two lines under it names what is
// shown.
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/window.h>

class PreviewPane : public wxWindow {
 public:
  PreviewPane(wxWindow* parent, const wxString& caption);

  void SetPicture(const wxImage& picture);
  void ClearPicture();
  bool HasPicture() const { return picture_.IsOk(); }
  const wxImage& Picture() const { return picture_; }
  void SetCaption(const wxString& caption);
  const wxString& Caption() const { return caption_; }

  // Where the picture is drawn in the pane, from the pane's size; empty without one.
  wxRect PictureRect() const;
  // The pane less the caption's lines: the largest picture shown at its own size.
  wxRect DrawingArea() const;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);

  wxImage picture_;
  wxBitmap scaled_;  // the picture at PictureRect's size, made when first drawn
  wxString caption_;
};
