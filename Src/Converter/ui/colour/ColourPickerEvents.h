// The colour picker's notifications to its parent. Each keeps its message number (the
// popup tells the picker with the same numbers) and carries the colour and the picker's
// control id. They are command events, so they travel up from the picker to its parents.
#pragma once

#include <wx/event.h>

#include "ui/colour/ColourTable.h"

enum ColourMessage : int {
  ColourSelChange = 2025,     // a box was highlighted; the colour is its colour
  ColourDropDown = 2026,      // the popup has opened; the colour is the current one
  ColourCloseUp = 2027,       // the popup has closed (sent before the end message)
  ColourSelEndOk = 2028,      // the choice was accepted; the colour is the chosen one
  ColourSelEndCancel = 2029,  // the choice was cancelled; the colour is the opening one
};

class ColourPickerEvent : public wxCommandEvent {
 public:
  ColourPickerEvent(ColourMessage message, int controlId, COLORREF colour);

  ColourMessage GetMessage() const { return message_; }
  COLORREF GetColour() const { return colour_; }
  wxEvent* Clone() const override { return new ColourPickerEvent(*this); }

 private:
  ColourMessage message_;
  COLORREF colour_;
};

wxDECLARE_EVENT(BM_EVT_COLOUR_SEL_CHANGE, ColourPickerEvent);
wxDECLARE_EVENT(BM_EVT_COLOUR_DROP_DOWN, ColourPickerEvent);
wxDECLARE_EVENT(BM_EVT_COLOUR_CLOSE_UP, ColourPickerEvent);
wxDECLARE_EVENT(BM_EVT_COLOUR_SEL_END_OK, ColourPickerEvent);
wxDECLARE_EVENT(BM_EVT_COLOUR_SEL_END_CANCEL, ColourPickerEvent);

// The event type that carries `message`.
const wxEventTypeTag<ColourPickerEvent>& ColourEventType(ColourMessage message);

typedef void (wxEvtHandler::*ColourPickerEventFunction)(ColourPickerEvent&);
#define ColourPickerEventHandler(func) wxEVENT_HANDLER_CAST(ColourPickerEventFunction, func)

// Event-table entries for a picker with control id `id`.
#define EVT_COLOUR_SEL_CHANGE(id, fn) \
  wx__DECLARE_EVT1(BM_EVT_COLOUR_SEL_CHANGE, id, ColourPickerEventHandler(fn))
#define EVT_COLOUR_DROP_DOWN(id, fn) \
  wx__DECLARE_EVT1(BM_EVT_COLOUR_DROP_DOWN, id, ColourPickerEventHandler(fn))
#define EVT_COLOUR_CLOSE_UP(id, fn) \
  wx__DECLARE_EVT1(BM_EVT_COLOUR_CLOSE_UP, id, ColourPickerEventHandler(fn))
#define EVT_COLOUR_SEL_END_OK(id, fn) \
  wx__DECLARE_EVT1(BM_EVT_COLOUR_SEL_END_OK, id, ColourPickerEventHandler(fn))
#define EVT_COLOUR_SEL_END_CANCEL(id, fn) \
  wx__DECLARE_EVT1(BM_EVT_COLOUR_SEL_END_CANCEL, id, ColourPickerEventHandler(fn))
