// The drop-down of the colour picker: an "automatic" box, forty named colour cells and a
// "more colours" box that opens the colour dialog. It holds the mouse while open, so a
// click anywhere else cancels; the picker keeps the keyboard focus and hands it the keys.
// It tells the picker what is highlighted and how the choice ends, then hides; the picker
// destroys it.
#pragma once

#include <wx/popupwin.h>

#include "ui/colour/ColourPickerEvents.h"
#include "ui/colour/ColourPopupLayout.h"

class CColourPicker;

class ColourPopup : public wxPopupWindow {
 public:
  ColourPopup() = default;
  ~ColourPopup() override;

  // Creates the window as a child of `picker`, lays it out, places it with its top-left
  // corner at `topLeft` (screen coordinates, moved to stay on the picker's display),
  // shows it and takes the mouse. False when the window cannot be created.
  bool Open(CColourPicker* picker, wxPoint topLeft, COLORREF colour, const wxString& defaultText,
            const wxString& customText);

  // A key pressed on the picker while the popup is open; true when the popup used it.
  bool HandleKey(int keyCode);
  // Ends the choice with ColourSelEndOk or ColourSelEndCancel (once; later calls do
  // nothing). Accepting while the "more colours" box is hot opens the colour dialog.
  void End(ColourMessage message);
  // The picker is going away: release the mouse and send nothing more.
  void Detach();

  int HotIndex() const { return hotIndex_; }
  int ChosenIndex() const { return chosenIndex_; }
  COLORREF InitialColour() const { return initialColour_; }
  COLORREF ChosenColour() const { return chosenColour_; }
  bool IsColourDialogOpen() const { return colourDialogOpen_; }
  const ColourPopupLayout& Layout() const { return layout_; }

 private:
  void LayOut(wxPoint topLeft);
  void Select(int box);
  bool ChooseCustomColour();
  void Notify(ColourMessage message, COLORREF colour);
  void UpdateToolTip(std::optional<int> box);

  void OnPaint(wxPaintEvent& event);
  void PaintCell(wxDC& dc, int index);
  void PaintTextBox(wxDC& dc, int box, const wxRect& rect, const wxString& text);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnAppActivate(wxActivateEvent& event);

  CColourPicker* picker_ = nullptr;
  wxString defaultText_;
  wxString customText_;
  ColourPopupLayout layout_;
  wxRect windowRect_;  // screen coordinates
  int hotIndex_ = NoBox;
  int chosenIndex_ = NoBox;
  int toolTipBox_ = NoBox;
  COLORREF initialColour_ = 0;
  COLORREF chosenColour_ = 0;
  bool colourDialogOpen_ = false;
  bool ended_ = false;
};
