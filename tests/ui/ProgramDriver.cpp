#include "ProgramDriver.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "UiTestSupport.h"
#include "support/TestFiles.h"

// Last: Xlib's macros (None, Status) would clash with the headers above.
#include <X11/Xlib.h>

pid_t StartProgram(const std::string& config, const std::vector<std::string>& args,
                   const std::string& display) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    std::vector<std::string> all{BinPath("Brindlemark.exe")};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int WaitForExit(pid_t pid, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

namespace {

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

std::string DisplayOption(const std::string& display) {
  return display.empty() ? "" : " -display " + display;
}

}  // namespace

// The root's children are the top-level windows (there is no window manager); a line
// reads: 0x1e00007 "Brindlemark": ("Brindlemark.exe" "Brindlemark.exe")  680x535+0+0  +0+0
std::vector<ProgramWindow> ProgramWindows(const std::string& display) {
  std::vector<ProgramWindow> windows;
  std::istringstream lines(
      Output("xwininfo -root -children" + DisplayOption(display) + " 2>/dev/null"));
  for (std::string line; std::getline(lines, line);) {
    const auto klass = line.find("(\"Brindlemark.exe\"");
    const auto open = line.find(" \"");
    if (klass == std::string::npos || open == std::string::npos) continue;
    ProgramWindow w;
    std::istringstream(line) >> w.id;
    const auto close = line.find("\":", open + 2);
    if (close == std::string::npos) continue;
    w.title = line.substr(open + 2, close - open - 2);
    const auto abs = line.rfind(" +");
    const auto size = line.find(")  ");
    if (abs == std::string::npos || size == std::string::npos) continue;
    std::sscanf(line.c_str() + size + 3, "%dx%d", &w.width, &w.height);
    std::sscanf(line.c_str() + abs + 2, "%d+%d", &w.x, &w.y);
    const std::string state =
        Output("xwininfo -id " + w.id + DisplayOption(display) + " 2>/dev/null");
    if (state.find("IsViewable") != std::string::npos) windows.push_back(w);
  }
  return windows;
}

bool WaitForWindow(const std::string& title, int seconds, int count, const std::string& display) {
  for (int i = 0; i < seconds * 10; ++i) {
    int found = 0;
    for (const ProgramWindow& w : ProgramWindows(display)) found += w.title == title;
    if (found >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

void SendCloseRequest(const ProgramWindow& window) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window.id, nullptr, 16);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
}

void PointAt(const ProgramWindow& window) {
  wxUIActionSimulator sim;
  sim.MouseMove(window.x + window.width / 2, window.y + window.height / 2);
  PumpEvents(100);
}

void PressKey(int wxKeyCode, int modifiers) {
  wxUIActionSimulator sim;
  sim.Char(wxKeyCode, modifiers);
  PumpEvents(100);
}

void ClickAt(int x, int y) {
  wxUIActionSimulator sim;
  sim.MouseMove(x, y);
  PumpEvents(50);
  sim.MouseClick();
  PumpEvents(100);
}

std::string StoreFileIn(const std::string& config) {
  return config + "/Orrinvale/Brindlemark/Brindlemark.reg";
}

bool HaveXwininfo() { return std::system("command -v xwininfo >/dev/null 2>&1") == 0; }
