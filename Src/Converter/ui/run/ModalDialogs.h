// ModalDialogs: the modal dialogs open at this moment, innermost last, as every ShowModal
// reports them (the program's own dialogs and the toolkit's message, file and colour
// dialogs alike). A stop request uses it to end the open modal loops from the inside out
// before the main window closes: deleting the window under a running ShowModal would free
// the dialog on that stack frame.
#pragma once

class wxDialog;

// Starts tracking; call once, before the first dialog opens.
void TrackModalDialogs();

// The innermost open modal dialog, or nullptr.
wxDialog* InnermostModalDialog();

// Asks the innermost modal dialog to end as a cancel would (a running conversion is only
// asked to stop after its current item). True when a modal dialog was open.
bool CancelInnermostModalDialog();
