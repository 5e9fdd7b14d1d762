#include "ui/preview/PreviewWindow.h"

#include <wx/display.h>
#include <wx/sizer.h>

#include <cstring>

#include "settings/PresetFile.h"
#include "settings/SettingsSerializer.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/OptionPages.h"
#include "ui/preview/PreviewPane.h"
#include "ui/preview/PreviewWorker.h"
#include "ui/resources/ResourceIds.h"
#include "ui/toolkit/WxText.h"

namespace {

// The Window key's value that records whether the preview is shown.
constexpr std::string_view kShownValue = "PreviewShown";
constexpr int kWidth = 440;
constexpr int kGap = 8;

const char* const kNoSelection = "Select a picture in the list to see its preview.";
const char* const kWaitsForNumbers =
    "The preview waits until every number field of the pages holds a number.";
const char* const kRendering = "Rendering the preview...";

// 4512 as "4,512".
std::string GroupedDigits(std::uint64_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

wxImage ImageOf(const PreviewPicture& picture) {
  if (picture.Empty()) return wxImage();
  wxImage image(picture.width, picture.height, false);
  std::memcpy(image.GetData(), picture.rgb.data(), picture.rgb.size());
  if (!picture.alpha.empty()) {
    image.SetAlpha();
    std::memcpy(image.GetAlpha(), picture.alpha.data(), picture.alpha.size());
  }
  return image;
}

wxString SourceCaption(const PreviewResult& result) {
  if (result.sourceWidth < 1) return "Source";
  return WxText("Source: " + std::to_string(result.sourceWidth) + " × " +
                std::to_string(result.sourceHeight) + " pixels");
}

}  // namespace

wxString PreviewWindow::ResultCaption(const PreviewResult& result) {
  if (!result.converted) return "Result";
  return WxText("Result: " + std::to_string(result.width) + " × " + std::to_string(result.height) +
                " pixels\n" + GroupedDigits(result.bytes) + " bytes");
}

PreviewWindow::PreviewWindow(CMainFrame& frame)
    : wxFrame(&frame, wxID_ANY, "Preview", wxDefaultPosition, wxSize(kWidth, 400),
              wxCAPTION | wxCLOSE_BOX | wxRESIZE_BORDER | wxFRAME_TOOL_WINDOW |
                  wxFRAME_FLOAT_ON_PARENT | wxFRAME_NO_TASKBAR),
      frame_(frame) {
  auto* panel = new wxPanel(this);
  source_ = new PreviewPane(panel, "Source");
  resultPane_ = new PreviewPane(panel, "Result");
  status_ = new wxStaticText(panel, wxID_ANY, kNoSelection, wxDefaultPosition, wxDefaultSize,
                             wxST_NO_AUTORESIZE);
  auto* panes = new wxBoxSizer(wxHORIZONTAL);
  panes->Add(source_, 1, wxEXPAND | wxRIGHT, kGap / 2);
  panes->Add(resultPane_, 1, wxEXPAND | wxLEFT, kGap / 2);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(panes, 1, wxEXPAND | wxALL, kGap);
  column->Add(status_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kGap);
  panel->SetSizer(column);

  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  worker_ = std::make_unique<PreviewWorker>([this](PreviewUpdate update) {
    CallAfter([this, update = std::move(update)] { Apply(update); });
  });

  Bind(wxEVT_CLOSE_WINDOW, &PreviewWindow::OnClose, this);
  // Timers without an owner deliver to themselves, each to its own handler.
  watch_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Watch(); });
  debounce_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { StartRender(); });
  // Bound with this window as the handler, so that they go with it.
  frame_.Bind(wxEVT_MENU, &PreviewWindow::OnToggle, this, ToWxId(Res::ViewPreview));
  frame_.Bind(wxEVT_UPDATE_UI, &PreviewWindow::OnUpdateToggle, this, ToWxId(Res::ViewPreview));
  frame_.Bind(wxEVT_SHOW, &PreviewWindow::OnFrameShown, this);
  const RegValue* stored = frame_.Session().store.Query(StoreKeys::Window, kShownValue);
  // Hidden until asked for: a window of its own should not cover others uninvited.
  shown_ = stored && stored->data.size() == 4 && stored->data[0] != 0;
}

PreviewWindow::~PreviewWindow() {
  watch_.Stop();
  debounce_.Stop();
  worker_.reset();  // gives up a render in progress and ends the thread
}

void PreviewWindow::ShowPreview(bool show) {
  shown_ = show;
  frame_.Session().store.SetDword(StoreKeys::Window, kShownValue, show ? 1 : 0);
  if (!show) {
    watch_.Stop();
    debounce_.Stop();
    worker_->Cancel();
    rendering_ = false;
    watchedKey_.clear();
    requestedPage_.clear();
    Hide();
    return;
  }
  if (!IsShown()) {
    PlaceBesideFrame();
    ShowWithoutActivating();
  }
  watch_.Start(kWatchMs);
  Watch();
}

void PreviewWindow::PlaceBesideFrame() {
  const wxRect main = frame_.GetScreenRect();
  const int display = wxDisplay::GetFromWindow(&frame_);
  const wxRect screen =
      wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
  int x = main.GetRight() + 1 + kGap;
  if (x + kWidth > screen.GetRight()) x = std::max(screen.x, screen.GetRight() + 1 - kWidth);
  SetSize(x, main.y, kWidth, main.height);
}

void PreviewWindow::ShowIdle(const wxString& status) {
  if (status_->GetLabel() != status) status_->SetLabel(status);
}

void PreviewWindow::Watch() {
  ConversionList& list = *frame_.Session().list;
  if (!shown_ || list.Busy() || !frame_.Bar()) return;  // a run or a search is under way
  const ConversionItem* item = list.FirstSelectedItem();
  if (!item) {
    if (!watchedKey_.empty() || rendering_) {
      worker_->Cancel();
      debounce_.Stop();
      rendering_ = false;
      result_ = PreviewResult{};
      source_->ClearPicture();
      resultPane_->ClearPicture();
      source_->SetCaption("Source");
      resultPane_->SetCaption("Result");
    }
    watchedKey_.clear();
    requestedPage_.clear();
    return ShowIdle(kNoSelection);
  }
  ConversionSettings shown = frame_.Session().settings.conversion;
  if (!ReadShownSettings(*frame_.Bar(), shown)) {
    debounce_.Stop();
    watchedKey_ = "incomplete";
    return ShowIdle(kWaitsForNumbers);
  }
  const wxRect area = source_->DrawingArea();
  const std::string key = PreviewPageKey(*item) + '\n' + PresetText(shown) + '\n' +
                          std::to_string(area.width) + 'x' + std::to_string(area.height);
  if (key == watchedKey_) return;
  watchedKey_ = key;
  debounce_.StartOnce(kDebounceMs);
}

void PreviewWindow::StartRender() {
  const ConversionItem* item = frame_.Session().list->FirstSelectedItem();
  ConversionSettings shown = frame_.Session().settings.conversion;
  if (!item || !frame_.Bar() || !ReadShownSettings(*frame_.Bar(), shown)) return;
  auto page = std::make_shared<ConversionItem>();
  CopyPageIdentity(*item, *page);
  const wxRect area = source_->DrawingArea();
  PreviewRequest request;
  request.generation = ++generation_;
  // Another page: its pictures are not shown beside the last page's numbers.
  if (PreviewPageKey(*page) != requestedPage_) {
    requestedPage_ = PreviewPageKey(*page);
    source_->ClearPicture();
    resultPane_->ClearPicture();
    source_->SetCaption("Source");
    resultPane_->SetCaption("Result");
  }
  request.page = page;
  request.settingsText = PresetText(shown);
  request.settings = std::move(shown);
  request.box = PreviewBox{area.width, area.height};
  rendering_ = true;
  ShowIdle(kRendering);
  worker_->Submit(std::move(request));
}

void PreviewWindow::Apply(const PreviewUpdate& update) {
  if (update.generation != generation_) return;  // a render given up since
  switch (update.stage) {
    case PreviewUpdate::Stage::Result:
      result_ = update.result;
      source_->SetCaption(SourceCaption(result_));
      resultPane_->SetCaption(ResultCaption(result_));
      ShowIdle(result_.converted ? wxString() : WxText(result_.reason));
      if (!result_.converted) resultPane_->ClearPicture();
      break;
    case PreviewUpdate::Stage::ResultPicture:
      resultPane_->SetPicture(ImageOf(update.picture));
      break;
    case PreviewUpdate::Stage::SourcePicture:
      source_->SetPicture(ImageOf(update.picture));
      rendering_ = false;
      break;
  }
}

void PreviewWindow::OnToggle(wxCommandEvent&) { ShowPreview(!shown_); }

void PreviewWindow::OnUpdateToggle(wxUpdateUIEvent& event) { event.Check(shown_); }

// The preview follows the main window onto the screen, beside it, without taking the focus.
void PreviewWindow::OnFrameShown(wxShowEvent& event) {
  event.Skip();
  if (event.IsShown() && shown_) CallAfter([this] { ShowPreview(true); });
}

void PreviewWindow::OnClose(wxCloseEvent& event) {
  if (!event.CanVeto()) return event.Skip();
  event.Veto();
  ShowPreview(false);
}
