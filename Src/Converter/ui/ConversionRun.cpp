#include "ui/ConversionRun.h"

#include <wx/msgdlg.h>

#include "job/ImageConverter.h"
#include "job/PathFunctions.h"
#include "ui/ConfigurationBar.h"
#include "ui/MainFrame.h"
#include "ui/ProgressDialog.h"
#include "ui/StopRequest.h"
#include "ui/resources/StringTable.h"
#include "ui/WxText.h"

namespace {

// Each settings field is edited by the page control named after it.
const char* WindowNameOf(SettingsField field) {
  switch (field) {
    case SettingsField::None: return "";
    case SettingsField::destFolder: return "destFolder";
    case SettingsField::ratio: return "ratio";
    case SettingsField::width: return "width";
    case SettingsField::height: return "height";
    case SettingsField::portraitWidth: return "portraitWidth";
    case SettingsField::portraitHeight: return "portraitHeight";
    case SettingsField::cropLeftRatio: return "cropLeftRatio";
    case SettingsField::cropTopRatio: return "cropTopRatio";
    case SettingsField::zeroPadding: return "zeroPadding";
    case SettingsField::destFileExt: return "destFileExt";
    case SettingsField::rotateDegree: return "rotateDegree";
    case SettingsField::jpegQualityNew: return "jpegQualityNew";
    case SettingsField::paddingHorz: return "paddingHorz";
    case SettingsField::paddingVert: return "paddingVert";
    case SettingsField::shadowOpaque: return "shadowOpaque";
    case SettingsField::shadowBlur: return "shadowBlur";
    case SettingsField::overlayFilePath: return "overlayFilePath";
    case SettingsField::overlayHAlignRatio: return "overlayHAlignRatio";
    case SettingsField::overlayVAlignRatio: return "overlayVAlignRatio";
    case SettingsField::overlayTransparency: return "overlayTransparency";
  }
  return "";
}

ConversionRunPrompts WithDefaults(ConversionRunPrompts prompts, wxWindow* parent) {
  const wxString title = WxText(LoadText(Ids::AppTitle));
  if (!prompts.askYesNo)
    prompts.askYesNo = [=](const wxString& text) {
      return wxMessageBox(text, title, wxYES_NO | wxICON_QUESTION, parent) == wxYES;
    };
  if (!prompts.showError)
    prompts.showError = [=](const wxString& text) { wxMessageBox(text, title, wxOK | wxICON_ERROR, parent); };
  if (!prompts.showProgress) prompts.showProgress = [](ProgressDialog& dialog) { dialog.ShowModal(); };
  return prompts;
}

// Steps 1 and 2: the current page with its checks, then both option pages.
bool CommitPages(ConfigurationBar& bar) {
  if (!bar.CommitCurrentPage()) return false;
  for (int i = 1; i < bar.PageCount(); ++i) bar.Page(i)->CommitOnClose();
  return true;
}

bool SettingsAreValid(ConfigurationBar& bar, ConversionSettings& settings, const ConversionRunPrompts& prompts) {
  const ValidationResult result = ValidateSettings(settings);
  if (Succeeded(result.code)) return true;
  if (result.field != SettingsField::None) {
    const int index = BarIndexOf(result.page);
    if (index < bar.PageCount() && bar.SwitchTo(index)) FocusSettingsField(*bar.Page(index), result.field);
  }
  prompts.showError(wxString::FromUTF8(result.message));
  return false;
}

// A destination that does not exist is created, level by level, after the user agrees.
bool DestinationReady(const std::string& folder, const ConversionRunPrompts& prompts) {
  if (!folder.empty() && FolderExists(folder)) return true;
  if (!prompts.askYesNo(wxString::FromUTF8(FormatText(Ids::AskCreateFolder, folder)))) return false;
  if (ImageConverter::CreateFolderPath(folder)) return true;
  prompts.showError(wxString::FromUTF8(FormatText(Ids::CreateDirectoryFailed, folder)));
  return false;
}

}  // namespace

int BarIndexOf(SettingsPage page) { return page == SettingsPage::ShadowAndOverlay ? 2 : 1; }

bool FocusSettingsField(PageDialog& page, SettingsField field) {
  const char* name = WindowNameOf(field);
  wxWindow* control = *name ? wxWindow::FindWindowByName(name, &page) : nullptr;
  if (!control) {
    page.FocusFailedControl();
    return false;
  }
  control->SetFocus();
  return true;
}

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
    // A finished row is marked changed while the list's listeners apply it.
    auto rowChanged = [&list](ConversionItem& item) {
      item.listFlags = ItemListFlag::Changed;
      if (list.onChanged) list.onChanged();
      item.listFlags = 0;
    };
    ProgressDialog dialog(&frame, SnapshotOf(list.Items()), settings, rowChanged);
    prompts.showProgress(dialog);
    if (focused && !StopRequested()) focused->SetFocus();
  }
  list.RecountStatus();
  if (list.onChanged) list.onChanged();
  frame.RefreshIdleText();
}
