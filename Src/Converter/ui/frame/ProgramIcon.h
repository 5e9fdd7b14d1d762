// The program icon, as the main window and the About box show it: the same drawing that
// the installed hicolor icons carry, decoded from PNG data compiled into the program.
#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

// The sizes compiled in, in pixels.
constexpr int kProgramIconSizes[] = {16, 32, 48};

// The icon at `size` pixels (one of kProgramIconSizes), with its alpha channel; an
// invalid bitmap for any other size.
wxBitmap ProgramIconBitmap(int size);

// Every compiled-in size, for wxTopLevelWindow::SetIcons.
wxIconBundle ProgramIcons();
