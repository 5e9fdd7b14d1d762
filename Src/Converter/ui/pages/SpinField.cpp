#include "ui/pages/SpinField.h"

#include <algorithm>
#include <utility>

#include "ui/pages/NumberField.h"
#include "ui/pages/OptionPageLayout.h"
#include "ui/pages/WheelGuard.h"

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
  TakeWheelOnlyWithFocus(spin_, text_);
  // The button steps from the field's number; its own value follows the field once the
  // toolkit has finished the step (it records the value it stepped to after the handler).
  for (const auto& [type, delta] : {std::pair{wxEVT_SPIN_UP, 1}, std::pair{wxEVT_SPIN_DOWN, -1}}) {
    spin_->Bind(type, [this, delta = delta](wxSpinEvent&) {
      Step(delta);
      spin_->CallAfter([this] { FollowField(); });
    });
  }
  text_->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
    FollowField();
    e.Skip();
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

void SpinField::SetText(const wxString& text) {
  text_->ChangeValue(text);
  FollowField();
}

// The toolkit greys the button's halves by the button's own value: kept at the field's
// number (within the range), "-" is greyed only at the minimum and "+" only at the maximum.
// Setting it from code sends no spin event.
void SpinField::FollowField() {
  const int number = LeadingInteger(text_->GetValue().utf8_string());
  const int clamped = std::clamp(number, low_, high_);
  if (spin_->GetValue() != clamped) spin_->SetValue(clamped);
}
