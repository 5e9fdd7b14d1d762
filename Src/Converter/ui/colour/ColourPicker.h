// CColourPicker: the button with which the option pages choose a colour. It shows the
// colour as a swatch with its caption on it and a drop-down arrow; a click (or Space or
// Enter while it has the focus) opens a ColourPopup below it. It tells its parent about
// the popup with ColourPickerEvents carrying its control id and the colour.
#pragma once

#include <wx/control.h>

#include "ui/colour/ColourPickerEvents.h"

class ColourPopup;

class CColourPicker : public wxControl {
 public:
  CColourPicker(wxWindow* parent, wxWindowID id, const wxString& caption = wxString(),
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = 0);
  ~CColourPicker() override;

  // The colour the pages fill and commit: the text colour in selection mode 1, else the
  // background (swatch) colour. DefaultColour is the automatic colour.
  void SetColour(COLORREF colour);
  COLORREF GetColour() const;
  void SetBkColour(COLORREF colour);
  void SetTextColour(COLORREF colour);
  COLORREF GetBkColour() const { return backgroundColour_; }
  COLORREF GetTextColour() const { return textColour_; }

  bool GetTrackSelection() const { return trackSelection_; }
  void SetTrackSelection(bool track) { trackSelection_ = track; }
  int GetSelectionMode() const { return selectionMode_; }
  void SetSelectionMode(int mode) { selectionMode_ = mode; }
  const wxString& GetDefaultText() const { return defaultText_; }
  void SetDefaultText(const wxString& text) { defaultText_ = text; }
  const wxString& GetCustomText() const { return customText_; }
  void SetCustomText(const wxString& text) { customText_ = text; }

  bool IsPopupActive() const { return popupActive_; }
  ColourPopup* GetPopup() const { return popup_; }
  // The drop-down arrow's area in client coordinates.
  wxRect GetArrowRect() const;

  // Opens the popup, as a click does.
  void OpenPopup();
  // What the popup reports: a highlight, or how the choice ended.
  void OnPopupMessage(ColourMessage message, COLORREF colour);
  // The system colour dialog, fully open and starting at `initial`, for the popup's
  // "more colours" box; true with `chosen` set when the user accepts a colour.
  virtual bool ChooseCustomColour(COLORREF initial, COLORREF& chosen);

  void SetLabel(const wxString& label) override;
  bool Enable(bool enable = true) override;
  bool AcceptsFocus() const override { return true; }

 protected:
  // Creates, places and shows the popup; null when its window cannot be created.
  virtual ColourPopup* CreatePopup(wxPoint topLeft, COLORREF colour);
  wxSize DoGetBestSize() const override;

 private:
  void SetWindowSize();
  void Notify(ColourMessage message, COLORREF colour);
  void ClosePopup();
  bool IsPushed() const { return popupActive_ || pressedInside_; }

  void OnPaint(wxPaintEvent& event);
  void PaintSwatch(wxDC& dc, wxRect rect);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnFocusChange(wxFocusEvent& event);

  bool popupActive_ = false;
  bool trackSelection_ = false;
  COLORREF backgroundColour_;
  COLORREF textColour_;
  int selectionMode_ = 2;
  wxString defaultText_ = "Automatic";
  wxString customText_ = "More Colours...";
  ColourPopup* popup_ = nullptr;
  bool pressed_ = false;        // the left button went down on the picker
  bool pressedInside_ = false;  // ... and the pointer is still over it
};
