#include "ui/run/ModalDialogs.h"

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <dlfcn.h>

#include <algorithm>
#include <vector>

#include "ui/run/CloseBoxWatch.h"
#include "ui/run/ProgressDialog.h"

namespace {

class ModalTracker : public wxModalDialogHook {
 public:
  std::vector<wxDialog*> open;

 protected:
  int Enter(wxDialog* dialog) override {
    open.push_back(dialog);
    RenewCloseBoxWatch();
    return wxID_NONE;
  }
  void Exit(wxDialog* dialog) override {
    const auto it = std::find(open.rbegin(), open.rend(), dialog);
    if (it != open.rend()) open.erase(std::next(it).base());
  }
};

ModalTracker* tracker = nullptr;

// The toolkit runs its own message and colour dialogs in a loop of their own that only a
// response ends; wx's own ShowModal loop ends with EndModal. The toolkit is already
// loaded in the process, so its two entry points are looked up rather than linked.
bool RespondAsCancel(wxDialog* dialog) {
  using TypeFn = unsigned long (*)();
  using IsAFn = int (*)(void*, unsigned long);
  using RespondFn = void (*)(void*, int);
  static const auto dialogType =
      reinterpret_cast<TypeFn>(dlsym(RTLD_DEFAULT, "gtk_dialog_get_type"));
  static const auto isA =
      reinterpret_cast<IsAFn>(dlsym(RTLD_DEFAULT, "g_type_check_instance_is_a"));
  static const auto respond =
      reinterpret_cast<RespondFn>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
  void* widget = dialog->GetHandle();
  if (!widget || !dialogType || !isA || !respond || !isA(widget, dialogType())) return false;
  constexpr int kResponseCancel = -6;  // GTK_RESPONSE_CANCEL
  respond(widget, kResponseCancel);
  return true;
}

}  // namespace

void TrackModalDialogs() {
  if (tracker) return;
  tracker = new ModalTracker;  // lives as long as the process; the hook list refers to it
  tracker->Register();
}

wxDialog* InnermostModalDialog() {
  return tracker && !tracker->open.empty() ? tracker->open.back() : nullptr;
}

bool CancelInnermostModalDialog() {
  wxDialog* dialog = InnermostModalDialog();
  if (!dialog) return false;
  if (auto* progress = dynamic_cast<ProgressDialog*>(dialog)) {
    progress->RequestClose();
  } else if (!RespondAsCancel(dialog) && dialog->IsModal()) {
    dialog->EndModal(wxID_CANCEL);
  }
  return true;
}
