// SpinField: a text field with an up-down button at its right edge. The buttons and the
// arrow keys in the field step the field's whole number within the range; the field
// itself still takes any text, which the page checks when it reads it. The button's own
// value follows the field, so each half is greyed only at its end of the range, and the
// wheel steps the value only while the field has the focus.
#pragma once

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

class SpinField {
 public:
  SpinField(wxWindow* parent, int fieldId, int spinId, int low, int high);

  wxTextCtrl* Text() const { return text_; }
  wxSpinButton* Spin() const { return spin_; }
  wxSizer* Sizer() const { return sizer_; }
  void Enable(bool enable);
  // One step up (+1) or down (-1), as the button or an arrow key does.
  void Step(int delta);
  // Shows `text` in the field (as the page's data exchange does, without a change event).
  void SetText(const wxString& text);

 private:
  void FollowField();

  wxTextCtrl* text_;
  wxSpinButton* spin_;
  wxBoxSizer* sizer_;
  int low_, high_;
};
