// Opening a file or folder with the desktop's default application, through xdg-open found
// on PATH, never silently: a path that is gone, a desktop without xdg-open, and an opener
// that ends in failure each produce a message saying so and what to do. The opener runs
// beside the window; its failure is reported when it ends.
#pragma once

#include <wx/string.h>

#include <functional>
#include <string>

class wxWindow;

// Where the failure message goes; the default shows it in a message box over `parent`.
using OpenFailureReport = std::function<void(const wxString& message)>;

// Starts the opener on `path`; false (and the message given) when it cannot be started.
bool OpenWithDesktop(const wxString& path, wxWindow* parent, OpenFailureReport report = {});

// The message for an opener that ended with `exitCode` (xdg-open's codes: 2 the file was not
// found, 3 no application or tool for it, others a failed action).
std::string OpenFailureText(const std::string& path, int exitCode);
