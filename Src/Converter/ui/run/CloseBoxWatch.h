// CloseBoxWatch: the main window's close box while a modal dialog is open (a run, a
// message). The toolkit drops a window's delete request while a modal dialog holds the input
// grab, so without this the close box would do nothing until the dialog closed. The watch
// sits in the toolkit's event dispatch: a delete request for the main window that arrives while
// a modal dialog is open becomes a stop request (StopRequest), which ends the dialogs from the
// inside out (a run after its current item) and then closes the window as the user's close
// does. Every other event is dispatched as before.
#pragma once

class wxWindow;

// Starts watching `frame` (a shown top-level window); calling it again renews the watch.
void WatchCloseBox(wxWindow* frame);

// Puts the watch back in the dispatch if the toolkit replaced it (wx swaps the dispatch
// function while it yields); called whenever a modal dialog opens.
void RenewCloseBoxWatch();
