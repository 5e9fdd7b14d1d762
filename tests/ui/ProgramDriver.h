// Driving the real Brindlemark.exe from the GUI tests: starting it over a private settings
// folder, its windows as the X server shows them, simulated keys and clicks through the
// server, and waiting for its exit.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts the program with XDG_CONFIG_HOME set to `config` (and DISPLAY to `display` when
// given) and no standard input.
pid_t StartProgram(const std::string& config, const std::vector<std::string>& args = {},
                   const std::string& display = {});
// The exit code (128 + signal when killed), or -1 when the process still runs after
// `seconds` (it is then killed).
int WaitForExit(pid_t pid, int seconds);

// A top-level window of the program (class "Brindlemark.exe") that is on the screen.
struct ProgramWindow {
  std::string id;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
};
std::vector<ProgramWindow> ProgramWindows(const std::string& display = {});
// Waits until a window titled `title` is on the screen; false after `seconds`.
bool WaitForWindow(const std::string& title, int seconds, int count = 1,
                   const std::string& display = {});

// What the window's close box sends: a WM_DELETE_WINDOW client message (there is no window
// manager to send it).
void SendCloseRequest(const ProgramWindow& window);

// Keys and clicks as the X server delivers them (the window under the pointer gets keys).
void PointAt(const ProgramWindow& window);
void PressKey(int wxKeyCode, int modifiers = 0);
void ClickAt(int x, int y);

// The store file under a configuration folder.
std::string StoreFileIn(const std::string& config);
bool HaveXwininfo();
