// Drop-downs and spin buttons take the mouse wheel only while they (or the field they
// step) have the focus. Otherwise a wheel turn that passes over them while the user scrolls
// a page would change their value unseen; it scrolls the page under them instead, as it
// does over any other part of the page.
#pragma once

class wxWindow;

// Guards `control`; `focusOwner` is the window whose focus lets the wheel through (the
// control itself when null).
void TakeWheelOnlyWithFocus(wxWindow* control, wxWindow* focusOwner = nullptr);
// Guards every drop-down list and combo box below `root`.
void GuardDropDownWheels(wxWindow* root);
