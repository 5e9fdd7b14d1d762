#include "ui/pages/OptionPage.h"

#include "ui/frame/MainFrame.h"
#include "strings/StringTable.h"
#include "ui/pages/NumberField.h"
#include "ui/pages/OptionPageLayout.h"
#include "ui/toolkit/WxText.h"

bool OptionPage::ExchangeData(bool toFields) {
  if (!toFields) {
    WriteControls();
    return true;
  }
  const std::unique_ptr<Failure> failure = ReadControls();
  if (!failure) return true;
  ReportFailure(failure->control, failure->message);
  return false;
}

bool OptionPage::CommitToSettings(bool report) {
  const bool read = report ? ExchangeData(true) : !ReadControls();
  WriteFields();
  return read;
}

bool OptionPage::ReadShownInto(ConversionSettings& settings) {
  const bool read = !ReadControls();
  WriteFieldsTo(settings);
  return read;
}

void OptionPage::ShowSettings(const ConversionSettings& settings) {
  TakeFieldsFrom(settings);
  WriteControls();
}

bool OptionPage::FocusField(SettingsField field) {
  wxWindow* control = ControlFor(field);
  if (!control) return false;
  control->SetFocus();
  if (auto* text = dynamic_cast<wxTextCtrl*>(control)) text->SelectAll();
  return true;
}

namespace {

// The message naming the field by the label the user reads beside it.
wxString FieldMessage(std::string_view format, wxWindow* field) {
  const wxStaticText* label = LabelOf(field);
  return WxText(FillText(format, label ? Utf8(label->GetLabelText()) : std::string(), {}));
}

}  // namespace

std::unique_ptr<OptionPage::Failure> OptionPage::ReadWhole(wxTextCtrl* field, int& value) {
  const std::optional<int> number = ParseWholeNumber(field->GetValue().utf8_string());
  if (!number)
    return std::make_unique<Failure>(Failure{field, FieldMessage(kNotAWholeNumber, field)});
  value = *number;
  return nullptr;
}

std::unique_ptr<OptionPage::Failure> OptionPage::ReadReal(wxTextCtrl* field, double& value) {
  const std::optional<double> number = ParseRealNumber(field->GetValue().utf8_string());
  if (!number) return std::make_unique<Failure>(Failure{field, FieldMessage(kNotANumber, field)});
  value = *number;
  return nullptr;
}

wxWindow* OptionPage::DialogOwner() {
  if (CMainFrame* frame = TheMainFrame()) return frame;
  return wxGetTopLevelParent(this);
}
