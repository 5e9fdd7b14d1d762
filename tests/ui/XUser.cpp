#include "XUser.h"

#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <chrono>
#include <thread>

namespace {

using FakeKey = int (*)(Display*, unsigned int, int, unsigned long);
using FakeButton = int (*)(Display*, unsigned int, int, unsigned long);
using FakeMotion = int (*)(Display*, int, int, int, unsigned long);

struct XTest {
  FakeKey key = nullptr;
  FakeButton button = nullptr;
  FakeMotion motion = nullptr;
};

XTest Functions(void* library) {
  XTest f;
  if (!library) return f;
  f.key = reinterpret_cast<FakeKey>(dlsym(library, "XTestFakeKeyEvent"));
  f.button = reinterpret_cast<FakeButton>(dlsym(library, "XTestFakeButtonEvent"));
  f.motion = reinterpret_cast<FakeMotion>(dlsym(library, "XTestFakeMotionEvent"));
  return f;
}

Display* D(void* display) { return static_cast<Display*>(display); }

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string TitleOf(Display* display, Window window) {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display, window, &name) && name) title = name;
  if (name) XFree(name);
  return title;
}

}  // namespace

XUser::XUser() {
  // Xlib calls from the helper thread and the toolkit's thread use separate connections.
  XInitThreads();
  display_ = XOpenDisplay(nullptr);
  xtst_ = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
}

XUser::~XUser() {
  if (display_) XCloseDisplay(D(display_));
  if (xtst_) dlclose(xtst_);
}

bool XUser::Ready() const {
  const XTest f = Functions(xtst_);
  return display_ && f.key && f.button && f.motion;
}

void XUser::Flush(int settleMs) {
  XFlush(D(display_));
  Sleep(settleMs);
}

void XUser::Key(const std::string& keyName, bool shift, bool control) {
  if (!Ready()) return;
  const XTest f = Functions(xtst_);
  Display* d = D(display_);
  const KeySym sym = XStringToKeysym(keyName.c_str());
  const unsigned int code = XKeysymToKeycode(d, sym);
  if (code == 0) return;
  const unsigned int shiftCode = XKeysymToKeycode(d, XStringToKeysym("Shift_L"));
  const unsigned int controlCode = XKeysymToKeycode(d, XStringToKeysym("Control_L"));
  if (control) f.key(d, controlCode, True, 0);
  if (shift) f.key(d, shiftCode, True, 0);
  f.key(d, code, True, 0);
  f.key(d, code, False, 0);
  if (shift) f.key(d, shiftCode, False, 0);
  if (control) f.key(d, controlCode, False, 0);
  Flush();
}

void XUser::Type(const std::string& text) {
  if (!Ready()) return;
  Display* d = D(display_);
  for (const char c : text) {
    char name[2] = {c, 0};
    KeySym sym = XStringToKeysym(name);
    if (c == '/') sym = XStringToKeysym("slash");
    if (c == ' ') sym = XStringToKeysym("space");
    if (c == '-') sym = XStringToKeysym("minus");
    if (c == '.') sym = XStringToKeysym("period");
    if (c == '_') sym = XStringToKeysym("underscore");
    const KeyCode code = XKeysymToKeycode(d, sym);
    if (code == 0) continue;
    // Shift when the key's plain symbol is not the wanted one (capitals, '_').
    const bool shift = XkbKeycodeToKeysym(d, code, 0, 0) != sym;
    Key(XKeysymToString(sym), shift);
  }
}

void XUser::MoveTo(int x, int y) {
  if (!Ready()) return;
  Functions(xtst_).motion(D(display_), -1, x, y, 0);
  Flush();
}

void XUser::Click(int button) {
  if (!Ready()) return;
  const XTest f = Functions(xtst_);
  f.button(D(display_), static_cast<unsigned>(button), True, 0);
  f.button(D(display_), static_cast<unsigned>(button), False, 0);
  Flush(100);
}

void XUser::Wheel(int notches) {
  // Buttons 4 and 5 are the wheel's two directions.
  for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) Click(notches < 0 ? 4 : 5);
}

std::vector<XWindowSeen> XUser::Windows() const {
  std::vector<XWindowSeen> seen;
  if (!display_) return seen;
  Display* d = D(display_);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return seen;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, children[i], &attributes) || attributes.map_state != IsViewable ||
        attributes.x + attributes.width <= 0 || attributes.y + attributes.height <= 0)
      continue;
    XWindowSeen w;
    w.id = children[i];
    w.title = TitleOf(d, children[i]);
    w.x = attributes.x;
    w.y = attributes.y;
    w.width = attributes.width;
    w.height = attributes.height;
    seen.push_back(w);
  }
  if (children) XFree(children);
  return seen;
}

XWindowSeen XUser::WaitForWindow(const std::string& title, int timeoutMs,
                                 unsigned long besides) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    for (const XWindowSeen& w : Windows())
      if (w.title == title && w.id != besides) return w;
    Sleep(50);
  } while (std::chrono::steady_clock::now() < end);
  return {};
}
