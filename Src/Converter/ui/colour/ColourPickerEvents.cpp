#include "ui/colour/ColourPickerEvents.h"

wxDEFINE_EVENT(BM_EVT_COLOUR_SEL_CHANGE, ColourPickerEvent);
wxDEFINE_EVENT(BM_EVT_COLOUR_DROP_DOWN, ColourPickerEvent);
wxDEFINE_EVENT(BM_EVT_COLOUR_CLOSE_UP, ColourPickerEvent);
wxDEFINE_EVENT(BM_EVT_COLOUR_SEL_END_OK, ColourPickerEvent);
wxDEFINE_EVENT(BM_EVT_COLOUR_SEL_END_CANCEL, ColourPickerEvent);

const wxEventTypeTag<ColourPickerEvent>& ColourEventType(ColourMessage message) {
  switch (message) {
    case ColourSelChange: return BM_EVT_COLOUR_SEL_CHANGE;
    case ColourDropDown: return BM_EVT_COLOUR_DROP_DOWN;
    case ColourCloseUp: return BM_EVT_COLOUR_CLOSE_UP;
    case ColourSelEndOk: return BM_EVT_COLOUR_SEL_END_OK;
    case ColourSelEndCancel: break;
  }
  return BM_EVT_COLOUR_SEL_END_CANCEL;
}

ColourPickerEvent::ColourPickerEvent(ColourMessage message, int controlId, COLORREF colour)
    : wxCommandEvent(ColourEventType(message), controlId), message_(message), colour_(colour) {
  // Handlers that take the plain command event still see the colour.
  SetExtraLong(static_cast<long>(colour));
}
