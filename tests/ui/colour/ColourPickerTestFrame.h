// A small frame hosting one colour picker for the GUI tests, which records every
// notification the picker sends to its parent.
#pragma once

#include <wx/uiaction.h>
#include <wx/wx.h>

#include <functional>
#include <vector>

#include "UiTestSupport.h"
#include "ui/colour/ColourPicker.h"
#include "ui/colour/ColourPopup.h"

struct ColourNotification {
  ColourMessage message;
  int id;
  COLORREF colour;
  bool operator==(const ColourNotification&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ColourNotification& n) {
  return out << "{" << static_cast<int>(n.message) << ", id " << n.id << ", 0x" << std::hex
             << n.colour << std::dec << "}";
}

constexpr int TestPickerId = 1056;

class ColourPickerTestFrame : public wxFrame {
 public:
  using PickerMaker = std::function<CColourPicker*(wxWindow* parent)>;

  // The picker sits 20 pixels into the frame's client area; `make` may make a derived one.
  explicit ColourPickerTestFrame(wxPoint at = wxPoint(100, 100), const PickerMaker& make = {})
      : wxFrame(nullptr, wxID_ANY, "Colour picker test", at, wxSize(320, 200)) {
    panel = new wxPanel(this);
    picker =
        make ? make(panel)
             : new CColourPicker(panel, TestPickerId, "Shadow", wxPoint(20, 20), wxSize(120, -1));
    for (ColourMessage m :
         {ColourSelChange, ColourDropDown, ColourCloseUp, ColourSelEndOk, ColourSelEndCancel}) {
      Bind(ColourEventType(m), [this](ColourPickerEvent& e) {
        received.push_back({e.GetMessage(), e.GetId(), e.GetColour()});
      });
    }
  }

  // Shows the frame on top with the picker focused and the pointer resting over the frame.
  void ShowOnTop() {
    Show();
    Raise();
    WaitFor([this] { return IsShownOnScreen(); });
    PumpEvents(100);
    picker->SetFocus();
    PumpEvents(50);
  }

  wxPoint PickerCentre() const {
    return picker->GetScreenRect().GetPosition() + picker->GetSize() / 2;
  }

  std::vector<ColourNotification> TakeReceived() {
    std::vector<ColourNotification> out;
    out.swap(received);
    return out;
  }

  wxPanel* panel = nullptr;
  CColourPicker* picker = nullptr;
  std::vector<ColourNotification> received;
};

// Sends a key to the picker as the keyboard would: the hook first, then the key-down
// unless the hook used it.
inline void PressKey(wxWindow* target, int keyCode) {
  wxKeyEvent hook(wxEVT_CHAR_HOOK);
  hook.m_keyCode = keyCode;
  hook.SetEventObject(target);
  hook.SetId(target->GetId());
  if (target->ProcessWindowEvent(hook) && !hook.GetSkipped()) return;
  wxKeyEvent down(wxEVT_KEY_DOWN);
  down.m_keyCode = keyCode;
  down.SetEventObject(target);
  target->ProcessWindowEvent(down);
}
