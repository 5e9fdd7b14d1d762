#include "ui/list/SearchDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "ui/list/ConvListCtrl.h"
#include "ui/toolkit/WxText.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"

namespace {
SearchDialog* theSearch = nullptr;
}

SearchDialog* TheSearchDialog() { return theSearch; }

SearchDialog::SearchDialog(wxWindow* parent, std::vector<std::string> paths, bool recursive,
                           ConversionList& list, CConvListCtrl* view)
    : wxDialog(parent, Res::SearchingDialog, WxText(LoadText(Ids::AppTitle)), wxDefaultPosition,
               wxDefaultSize, wxCAPTION),
      list_(list),
      view_(view) {
  theSearch = this;
  collector_.sources = std::move(paths);
  collector_.recursive = recursive;

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, "Searching file/folder"), 0, wxALL, 10);
  // The status line holds a full path: fixed width, cut at the end rather than growing.
  status_ = new wxStaticText(this, Res::SearchStatusText, "...", wxDefaultPosition,
                             wxSize(ConvertDialogToPixels(wxSize(286, 29))),
                             wxST_ELLIPSIZE_MIDDLE | wxST_NO_AUTORESIZE);
  top->Add(status_, 0, wxLEFT | wxRIGHT | wxEXPAND, 10);
  top->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxALL | wxALIGN_RIGHT, 10);
  SetSizerAndFit(top);
  CentreOnParent();

  Bind(wxEVT_BUTTON, &SearchDialog::OnCancel, this, wxID_CANCEL);
  Bind(wxEVT_CHAR_HOOK, &SearchDialog::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &SearchDialog::OnClose, this);
  // The search begins only once the dialog is visible.
  Bind(wxEVT_SHOW, [this](wxShowEvent& e) {
    if (e.IsShown()) StartOnce();
    e.Skip();
  });
  Bind(wxEVT_PAINT, [this](wxPaintEvent& e) {
    StartOnce();
    e.Skip();
  });
}

SearchDialog::~SearchDialog() {
  if (theSearch == this) theSearch = nullptr;
}

wxString SearchDialog::StatusText() const { return status_->GetLabel(); }

void SearchDialog::StartOnce() {
  if (started_) return;
  started_ = true;
  CallAfter(&SearchDialog::Run);
}

void SearchDialog::Run() {
  {
    ConversionList::BusyScope busy(list_);
    busy_ = true;
    collector_.Collect();
    busy_ = false;
  }
  CallAfter([this] {
    if (IsModal()) EndModal(wxID_OK);
  });
}

void SearchDialog::Cancel() {
  if (busy_)
    collector_.stop = true;
  else if (IsModal())
    EndModal(wxID_CANCEL);
}

void SearchDialog::OnCancel(wxCommandEvent&) { Cancel(); }

void SearchDialog::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE)
    Cancel();
  else
    event.Skip();
}

void SearchDialog::OnClose(wxCloseEvent&) { Cancel(); }

// The row first, then the item joins the list, then pending input and paints are handled
// so that the rows appear and Cancel is seen. Handling them costs tens of milliseconds
// (idle processing of the whole window), so it happens at most every kDrainInterval:
// paints and Cancel still come promptly, and thousands of items do not take minutes.
void SearchDialog::Found(std::unique_ptr<ConversionItem> item) {
  status_->SetLabel(wxString::FromUTF8(item->sourcePath));
  if (view_) view_->AppendRow(item.get());
  list_.Append(std::move(item));
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDrain_ < kDrainInterval) return;
  if (wxTheApp) wxTheApp->Yield(true);
  lastDrain_ = std::chrono::steady_clock::now();
}

void SearchDialog::Collector::AddItem(std::unique_ptr<ConversionItem> item) {
  dialog_.Found(std::move(item));
}
