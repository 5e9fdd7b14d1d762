// A user at the X server, apart from the toolkit: its own connection and XTest (loaded at
// run time, so no development package is needed), so it can press keys and turn the wheel
// from a helper thread while the test's thread sits in a modal loop (a message box, the
// folder chooser), and it can find top-level windows by title as the server lists them.
#pragma once

#include <string>
#include <vector>

struct XWindowSeen {
  unsigned long id = 0;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
};

class XUser {
 public:
  XUser();
  ~XUser();
  XUser(const XUser&) = delete;
  XUser& operator=(const XUser&) = delete;

  // False without a display or without XTest.
  bool Ready() const;

  // A key by its X name ("Return", "Escape", "F7", "a"), with Shift and Ctrl when asked.
  void Key(const std::string& keyName, bool shift = false, bool control = false);
  // Types ASCII text key by key.
  void Type(const std::string& text);
  void MoveTo(int x, int y);
  void Click(int button = 1);
  // Turns the wheel at the pointer: positive notches towards the user (scroll down).
  void Wheel(int notches);

  // The viewable top-level windows (children of the root) that reach onto the screen,
  // topmost last.
  std::vector<XWindowSeen> Windows() const;
  // Waits until a viewable top-level window titled `title` exists that is not `besides`;
  // its description, or an empty one (id 0) after `timeoutMs`.
  XWindowSeen WaitForWindow(const std::string& title, int timeoutMs,
                            unsigned long besides = 0) const;

 private:
  void Flush(int settleMs = 60);

  void* display_ = nullptr;
  void* xtst_ = nullptr;
};
