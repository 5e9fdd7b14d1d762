// StopRequest: SIGTERM and SIGINT end the windowed program as the user's close would, so
// the settings are saved and the exit code is 0; the main window's close box pressed while
// a modal dialog is open makes the same request. The signal handler only notes the
// request; a timer on the GUI thread acts on it: it first ends the open modal dialogs
// from the innermost out (a running conversion finishes its current item first), and
// only when none is left closes the main window.
#pragma once

class CMainFrame;

// Installs the handlers for SIGTERM and SIGINT.
void InstallStopOnSignal();

// Requests the stop as a signal would.
void RequestStop();

// True once a stop was requested; nothing new (a conversion, a dialog) should start.
bool StopRequested();

// One step of acting on a request; called by the timer. Returns true when the main
// window has been asked to close.
bool ActOnStopRequest(CMainFrame* frame);
