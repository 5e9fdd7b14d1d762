#include "ui/run/DisplayLoss.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <utility>

namespace {

std::function<void()>* saveOnLoss = nullptr;

// Xlib requires that this handler never returns; nothing here may talk to the display.
int OnDisplayLost(Display*) {
  if (saveOnLoss && *saveOnLoss) {
    auto save = std::move(*saveOnLoss);
    *saveOnLoss = nullptr;
    save();
  }
  _exit(1);
}

}  // namespace

void SaveOnDisplayLoss(std::function<void()> save) {
  if (!saveOnLoss) saveOnLoss = new std::function<void()>;
  *saveOnLoss = std::move(save);
  XSetIOErrorHandler(OnDisplayLost);
}
