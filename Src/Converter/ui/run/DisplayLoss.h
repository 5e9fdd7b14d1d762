// DisplayLoss: when the connection to the X display breaks (the server ends, as at a
// logout), the toolkit ends the process at once from Xlib's I/O error path. This unit puts
// a handler first in that path that saves what must survive and then ends the process
// with exit code 1, as the toolkit would.
#pragma once

#include <functional>

// Installs the handler; `save` runs once, on the thread that met the broken connection.
// Call after the display has been opened.
void SaveOnDisplayLoss(std::function<void()> save);
