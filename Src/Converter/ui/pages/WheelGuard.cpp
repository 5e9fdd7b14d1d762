#include "ui/pages/WheelGuard.h"

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/scrolwin.h>

namespace {

bool HoldsFocus(const wxWindow* owner) {
  const wxWindow* focus = wxWindow::FindFocus();
  for (; focus; focus = focus->GetParent())
    if (focus == owner) return true;
  return false;
}

// The nearest scrolled ancestor, which takes the wheel in the control's place.
wxScrollHelper* ScrollerAbove(wxWindow* control) {
  for (wxWindow* w = control->GetParent(); w; w = w->GetParent())
    if (auto* scroller = dynamic_cast<wxScrollHelper*>(w)) return scroller;
  return nullptr;
}

// Scrolls by the lines the wheel asks for (the toolkit scrolls natively only over the
// page's own area). A turn towards the user has a negative rotation and scrolls down.
void ScrollInstead(wxWindow* control, const wxMouseEvent& event) {
  wxScrollHelper* scroller = ScrollerAbove(control);
  if (!scroller || event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() == 0)
    return;
  const int lines = -event.GetWheelRotation() * event.GetLinesPerAction() / event.GetWheelDelta();
  int x = 0, y = 0;
  scroller->GetViewStart(&x, &y);
  scroller->Scroll(-1, std::max(0, y + lines));
}

}  // namespace

void TakeWheelOnlyWithFocus(wxWindow* control, wxWindow* focusOwner) {
  if (!focusOwner) focusOwner = control;
  control->Bind(wxEVT_MOUSEWHEEL, [control, focusOwner](wxMouseEvent& event) {
    if (HoldsFocus(focusOwner))
      event.Skip();
    else
      ScrollInstead(control, event);
  });
}

void GuardDropDownWheels(wxWindow* root) {
  for (wxWindow* child : root->GetChildren()) {
    if (dynamic_cast<wxChoice*>(child) || dynamic_cast<wxComboBox*>(child))
      TakeWheelOnlyWithFocus(child);
    GuardDropDownWheels(child);
  }
}
