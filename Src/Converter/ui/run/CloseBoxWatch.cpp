#include "ui/run/CloseBoxWatch.h"

#include <wx/window.h>

#include <dlfcn.h>

#include "ui/run/ModalDialogs.h"
#include "ui/run/StopRequest.h"

namespace {

// The head of every GdkEvent (GdkEventAny), and GDK_DELETE, the window manager's close.
struct GdkEventHead {
  int type;
  void* window;
};
constexpr int kGdkDelete = 0;

using EventFunc = void (*)(void* event, void* data);
using HandlerSetFn = void (*)(EventFunc handler, void* data, void (*notify)(void*));
using GetWindowFn = void* (*)(void* widget);

// The toolkit is already loaded in the process; its entry points are looked up, not linked.
struct Gtk {
  HandlerSetFn setHandler =
      reinterpret_cast<HandlerSetFn>(dlsym(RTLD_DEFAULT, "gdk_event_handler_set"));
  EventFunc mainDoEvent = reinterpret_cast<EventFunc>(dlsym(RTLD_DEFAULT, "gtk_main_do_event"));
  GetWindowFn widgetWindow =
      reinterpret_cast<GetWindowFn>(dlsym(RTLD_DEFAULT, "gtk_widget_get_window"));
  bool Ready() const { return setHandler && mainDoEvent && widgetWindow; }
};

const Gtk& Toolkit() {
  static const Gtk gtk;
  return gtk;
}

wxWindow* watched = nullptr;

void Dispatch(void* event, void*) {
  const Gtk& gtk = Toolkit();
  const auto* head = static_cast<const GdkEventHead*>(event);
  if (head->type == kGdkDelete && watched && InnermostModalDialog() &&
      head->window == gtk.widgetWindow(watched->GetHandle())) {
    RequestStop();
    return;
  }
  gtk.mainDoEvent(event, nullptr);
}

}  // namespace

void WatchCloseBox(wxWindow* frame) {
  watched = frame;
  RenewCloseBoxWatch();
}

void RenewCloseBoxWatch() {
  if (!watched || !Toolkit().Ready()) return;
  Toolkit().setHandler(Dispatch, nullptr, nullptr);
}
