#include "ui/run/ConversionRun.h"

#include <wx/msgdlg.h>

// wx before the engine headers: FreeImage's header defines a Windows guard macro.
#include "ui/list/ConvListCtrl.h"

#include "job/ImageConverter.h"
#include "job/PathFunctions.h"
#include "settings/ValidateSettings.h"
#include "ui/frame/ConfigurationBar.h"
#include "ui/frame/MainFrame.h"
#include "ui/pages/OptionPages.h"
#include "ui/run/DestinationCheck.h"
#include "ui/run/ProgressDialog.h"
#include "ui/run/StopRequest.h"
#include "strings/StringTable.h"
#include "ui/toolkit/WxText.h"

namespace {

ConversionRunPrompts WithDefaults(ConversionRunPrompts prompts, wxWindow* parent) {
  const wxString title = WxText(LoadText(Ids::AppTitle));
  if (!prompts.askYesNo)
    prompts.askYesNo = [=](const wxString& text) {
      return wxMessageBox(text, title, wxYES_NO | wxICON_QUESTION, parent) == wxYES;
    };
  if (!prompts.showError)
    prompts.showError = [=](const wxString& text) {
      wxMessageBox(text, title, wxOK | wxICON_ERROR, parent);
    };
  if (!prompts.showProgress)
    prompts.showProgress = [](ProgressDialog& dialog) { dialog.ShowModal(); };
  return prompts;
}

// The current page with its checks, then both option pages; a page that holds a field
// that is not a number has shown its message, and nothing runs.
bool CommitPages(ConfigurationBar& bar) {
  return bar.CommitCurrentPage() && CommitOptionPages(bar);
}

bool SettingsAreValid(ConfigurationBar& bar, ConversionSettings& settings,
                      const ConversionRunPrompts& prompts) {
  const ValidationResult result = ValidateSettings(settings);
  if (Succeeded(result.code)) return true;
  if (result.field != SettingsField::None) ShowSettingsField(bar, result.page, result.field);
  prompts.showError(wxString::FromUTF8(result.message));
  return false;
}

// A destination that does not exist is created, level by level, after the user agrees; one
// that cannot take the pictures is reported before anything starts.
bool DestinationReady(const std::string& folder, const ConversionRunPrompts& prompts) {
  const DestinationCheck check = CheckDestination(folder);
  if (check.state == DestinationCheck::Ready) return true;
  if (check.state == DestinationCheck::Unusable) {
    prompts.showError(wxString::FromUTF8(check.message));
    return false;
  }
  if (!prompts.askYesNo(wxString::FromUTF8(FormatText(Ids::AskCreateFolder, folder)))) return false;
  if (ImageConverter::CreateFolderPath(folder)) return true;
  prompts.showError(wxString::FromUTF8(FormatText(Ids::CreateDirectoryFailed, folder)));
  return false;
}

}  // namespace

void StartConversion(CMainFrame& frame, const ConversionRunPrompts& given) {
  ConfigurationBar* bar = frame.Bar();
  ConversionList& list = *frame.Session().list;
  ConversionSettings& settings = frame.Session().settings.conversion;
  if (!bar || list.Count() == 0 || list.Busy() || StopRequested()) return;
  const ConversionRunPrompts prompts = WithDefaults(given, &frame);

  if (!CommitPages(*bar)) return;
  if (!SettingsAreValid(*bar, settings, prompts)) return;
  if (!DestinationReady(settings.destFolder, prompts)) return;
  if (StopRequested()) return;

  list.ResetForRun();
  {
    ConversionList::BusyScope busy(list);
    wxWindow* focused = wxWindow::FindFocus();
    auto rowChanged = [](ConversionItem& item) {
      if (CConvListCtrl* view = TheConvListCtrl()) view->UpdateRow(&item);
    };
    ProgressDialog dialog(&frame, SnapshotOf(list.Items()), settings, rowChanged,
                          prompts.openFolder);
    prompts.showProgress(dialog);
    if (focused && !StopRequested()) focused->SetFocus();
  }
  list.RecountStatus();
  if (list.onChanged) list.onChanged();
  frame.RefreshIdleText();
}
