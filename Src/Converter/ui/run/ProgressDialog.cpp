#include "ui/run/ProgressDialog.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "strings/StringTable.h"
#include "ui/resources/AdviceTexts.h"
#include "ui/toolkit/DesktopOpener.h"
#include "ui/toolkit/WxText.h"

namespace {

// The results of one finished item, carried from the conversion thread to the GUI.
struct ItemResult {
  int status, width, height, newWidth, newHeight, bitDepth, newBitDepth;
  std::string log, destPath;
};

ItemResult ResultOf(const ConversionItem& item) {
  return {item.status,   item.width,       item.height, item.newWidth, item.newHeight,
          item.bitDepth, item.newBitDepth, item.log,    item.destPath};
}

void Apply(const ItemResult& r, ConversionItem& item) {
  item.status = r.status;
  item.width = r.width;
  item.height = r.height;
  item.newWidth = r.newWidth;
  item.newHeight = r.newHeight;
  item.bitDepth = r.bitDepth;
  item.newBitDepth = r.newBitDepth;
  item.log = r.log;
  item.destPath = r.destPath;
}

}  // namespace

void CopyItem(const ConversionItem& from, ConversionItem& to) {
  CopyPageIdentity(from, to);
  Apply(ResultOf(from), to);
}

ProgressDialog::ProgressDialog(wxWindow* parent, std::vector<ConversionItem*> items,
                               const ConversionSettings& settings,
                               std::function<void(ConversionItem&)> rowChanged,
                               std::function<void(const wxString&)> openFolder)
    : wxDialog(parent, 143, WxText(LoadText(Ids::AppTitle)), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU),
      items_(std::move(items)),
      settings_(settings),
      rowChanged_(std::move(rowChanged)),
      openFolder_(std::move(openFolder)) {
  if (!openFolder_) openFolder_ = [this](const wxString& folder) { OpenWithDesktop(folder, this); };
  copies_.reserve(items_.size());
  for (const ConversionItem* item : items_) {
    copies_.push_back(std::make_unique<ConversionItem>());
    CopyItem(*item, *copies_.back());
    indexOf_.emplace(copies_.back().get(), copies_.size() - 1);
  }
  CreateControls(static_cast<int>(items_.size()));
  Bind(wxEVT_PAINT, &ProgressDialog::OnPaint, this);
  Bind(wxEVT_BUTTON, &ProgressDialog::OnCancelButton, this, wxID_CANCEL);
  Bind(wxEVT_BUTTON, &ProgressDialog::OnOpenFolder, this, kOpenFolder);
  Bind(wxEVT_CLOSE_WINDOW, &ProgressDialog::OnCloseBox, this);
  CentreOnParent();
}

ProgressDialog::~ProgressDialog() {
  stop = true;
  if (worker_.joinable()) worker_.join();
}

void ProgressDialog::CreateControls(int itemCount) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto path = [&](const char* label, int id) {
    top->Add(new wxStaticText(this, wxID_ANY, label), 0, wxLEFT | wxRIGHT | wxTOP, 10);
    auto* text = new wxStaticText(this, id, wxString(), wxDefaultPosition, wxSize(460, -1),
                                  wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE | wxBORDER_SUNKEN);
    top->Add(text, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
    return text;
  };
  auto bar = [&](const char* label, int id, int range) {
    top->Add(new wxStaticText(this, wxID_ANY, label), 0, wxLEFT | wxRIGHT | wxTOP, 10);
    auto* gauge = new wxGauge(this, id, std::max(range, 1), wxDefaultPosition, wxSize(-1, 18));
    top->Add(gauge, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
    return gauge;
  };
  source_ = path("Source image file:", kSource);
  dest_ = path("Destination image file:", kDest);
  currentBar_ = bar("Current file progress", kCurrentBar, 100);
  totalBar_ = bar("Total file progress", kTotalBar, itemCount);

  auto* counts = new wxBoxSizer(wxHORIZONTAL);
  auto count = [&](const char* label, int id) {
    counts->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    auto* number =
        new wxStaticText(this, id, "0", wxDefaultPosition, wxSize(60, -1), wxST_NO_AUTORESIZE);
    counts->Add(number, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    return number;
  };
  total_ = count("Total", kTotal);
  succeeded_ = count("Succeeded", kSucceeded);
  failed_ = count("Failed", kFailed);
  counts->AddStretchSpacer();
  button_ = new wxButton(this, wxID_CANCEL, "Cancel");
  counts->Add(button_, 0, wxALIGN_CENTER_VERTICAL);
  top->Add(counts, 0, wxEXPAND | wxALL, 10);

  // After the run: how far it went, and the way to the pictures it wrote.
  auto* after = new wxBoxSizer(wxHORIZONTAL);
  summary_ = new wxStaticText(this, kSummary, wxString());
  after->Add(summary_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  openFolderButton_ = new wxButton(this, kOpenFolder, "Open Destination Folder");
  openFolderButton_->Disable();
  after->Add(openFolderButton_, 0, wxALIGN_CENTER_VERTICAL);
  top->Add(after, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(top);
  SetEscapeId(wxID_CANCEL);
}

// The run is requested from the first paint, so the dialog is on the screen before the
// first item starts.
void ProgressDialog::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  if (started_) return;
  started_ = true;
  CallAfter(&ProgressDialog::BeginRun);
}

void ProgressDialog::BeginRun() {
  if (running_ || finished_) return;
  if (stop) {  // cancelled before the first item: nothing is converted
    EndRun();
    return;
  }
  running_ = true;
  std::vector<ConversionItem*> work;
  work.reserve(copies_.size());
  for (const auto& copy : copies_) work.push_back(copy.get());
  worker_ = std::thread([this, work = std::move(work)] {
    Run(work, settings_);
    CallAfter(&ProgressDialog::EndRun);
  });
}

void ProgressDialog::EndRun() {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  finished_ = true;
  button_->SetLabel(WxText(LoadText(Ids::OkLabel)));
  const int count = static_cast<int>(items_.size());
  const int done = succeeded + failed;
  summary_->SetLabel(wxString::Format(
      WxText(done >= count ? AdviceTexts::RunComplete : AdviceTexts::RunStopped), done, count));
  openFolderButton_->Enable(!settings_.destFolder.empty());
  if (closeAfterRun_ && IsModal()) EndModal(wxID_CANCEL);
}

void ProgressDialog::OnItemStart(ConversionItem& item, const std::string& destPath) {
  CallAfter([this, sourcePath = item.sourcePath, destPath] {
    source_->SetLabel(wxString::FromUTF8(sourcePath));
    if (!destPath.empty()) dest_->SetLabel(wxString::FromUTF8(destPath));
    currentBar_->SetValue(2);
  });
}

void ProgressDialog::OnProgress(ConversionItem&, int percent) {
  CallAfter([this, percent] { currentBar_->SetValue(percent); });
}

void ProgressDialog::OnItemDone(ConversionItem& item) {
  CallAfter([this, index = indexOf_.at(&item), result = ResultOf(item), s = succeeded, f = failed,
             t = total, p = processed] {
    ShowCounts(s, f, t, p);
    ConversionItem& shown = *items_[index];
    Apply(result, shown);
    if (rowChanged_) rowChanged_(shown);
  });
}

void ProgressDialog::ShowCounts(int succeededCount, int failedCount, int totalCount,
                                int processedCount) {
  succeeded_->SetLabel(wxString::Format("%d", succeededCount));
  failed_->SetLabel(wxString::Format("%d", failedCount));
  total_->SetLabel(wxString::Format("%d", totalCount));
  currentBar_->SetValue(100);
  totalBar_->SetValue(std::min(processedCount, totalBar_->GetRange()));
}

void ProgressDialog::Cancel() {
  if (running_) {
    stop = true;
  } else if (IsModal()) {
    stop = true;
    EndModal(wxID_CANCEL);
  }
}

void ProgressDialog::RequestClose() {
  closeAfterRun_ = true;
  Cancel();
}

void ProgressDialog::OnCancelButton(wxCommandEvent&) { Cancel(); }

void ProgressDialog::OnOpenFolder(wxCommandEvent&) {
  if (finished_) openFolder_(wxString::FromUTF8(settings_.destFolder));
}

void ProgressDialog::OnCloseBox(wxCloseEvent& event) {
  if (running_ && event.CanVeto()) event.Veto();
  Cancel();
}

wxString ProgressDialog::SourceText() const { return source_->GetLabel(); }
wxString ProgressDialog::DestText() const { return dest_->GetLabel(); }

wxString ProgressDialog::CountText(int id) const {
  const wxWindow* w = FindWindow(id);
  return w ? w->GetLabel() : wxString();
}

int ProgressDialog::CurrentBarValue() const { return currentBar_->GetValue(); }
int ProgressDialog::TotalBarValue() const { return totalBar_->GetValue(); }
wxString ProgressDialog::ButtonLabel() const { return button_->GetLabel(); }
wxString ProgressDialog::SummaryText() const { return summary_->GetLabel(); }
