#include "ui/pages/PageDialog.h"

#include <wx/msgdlg.h>

#include "strings/StringTable.h"
#include "ui/toolkit/WxText.h"

wxBEGIN_EVENT_TABLE(PageDialog, wxPanel)
  EVT_BUTTON(wxID_OK, PageDialog::OnOk)
  EVT_MENU(wxID_OK, PageDialog::OnOk)
wxEND_EVENT_TABLE()

PageDialog::PageDialog(wxWindow* parent, int templateId)
    : wxPanel(parent, templateId, wxDefaultPosition, wxDefaultSize,
              wxTAB_TRAVERSAL | wxBORDER_NONE),
      templateId_(templateId) {}

bool PageDialog::Initialise() {
  if (!CreateControls()) return false;
  AttachToolTips(this);
  ExchangeData(false);
  return true;
}

bool PageDialog::ExchangeData(bool) { return true; }

void PageDialog::FocusFailedControl() {
  if (failedControl_) failedControl_->SetFocus();
}

void PageDialog::ReportFailure(wxWindow* control, const wxString& message) {
  failedControl_ = control;
  wxMessageBox(message, WxText(LoadText(Ids::AppTitle)), wxOK | wxICON_EXCLAMATION, this);
  if (control) control->SetFocus();
}

// Every control whose id names a text gets that text as its tip; an id without a text
// (and id 0 or a generated id) gives no tip.
void PageDialog::AttachToolTips(wxWindow* window) {
  for (wxWindow* child : window->GetChildren()) {
    const int id = child->GetId();
    const std::string_view tip = id > 0 ? LoadText(id) : std::string_view{};
    if (!tip.empty()) child->SetToolTip(WxText(tip));
    if (!child->IsTopLevel()) AttachToolTips(child);
  }
}

// Enter in a page reaches here as the OK command; a page has nothing to confirm.
void PageDialog::OnOk(wxCommandEvent&) {}
