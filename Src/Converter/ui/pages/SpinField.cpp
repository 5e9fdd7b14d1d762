#include "ui/pages/SpinField.h"

#include <algorithm>

#include "ui/pages/NumberField.h"
#include "ui/pages/OptionPageLayout.h"

SpinField::SpinField(wxWindow* parent, int fieldId, int spinId, int low, int high)
    : low_(low), high_(high) {
  text_ =
      new wxTextCtrl(parent, fieldId, wxString(), wxDefaultPosition, wxSize(kFieldMinWidth, -1));
  spin_ = new wxSpinButton(parent, spinId, wxDefaultPosition, wxDefaultSize,
                           wxSP_VERTICAL | wxSP_ARROW_KEYS);
  spin_->SetRange(low, high);
  // The button is a pointer tool; the keyboard steps through the field's arrow keys.
  spin_->DisableFocusFromKeyboard();
  sizer_ = new wxBoxSizer(wxHORIZONTAL);
  sizer_->Add(text_, 1, wxALIGN_CENTER_VERTICAL);
  sizer_->Add(spin_, 0, wxEXPAND | wxLEFT, 2);
  spin_->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent& e) {
    Step(1);
    e.Veto();
  });
  spin_->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent& e) {
    Step(-1);
    e.Veto();
  });
  text_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
    if (e.GetKeyCode() == WXK_UP) {
      Step(1);
    } else if (e.GetKeyCode() == WXK_DOWN) {
      Step(-1);
    } else {
      e.Skip();
    }
  });
}

void SpinField::Enable(bool enable) {
  text_->Enable(enable);
  spin_->Enable(enable);
}

void SpinField::Step(int delta) {
  const int current = LeadingInteger(text_->GetValue().utf8_string());
  const long long next =
      std::clamp<long long>(static_cast<long long>(current) + delta, low_, high_);
  text_->SetValue(FormatWhole(static_cast<int>(next)));
  text_->SetInsertionPointEnd();
}
