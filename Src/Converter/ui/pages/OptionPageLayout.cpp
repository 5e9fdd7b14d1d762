#include "ui/pages/OptionPageLayout.h"

#include <wx/scrolwin.h>
#include <wx/sizer.h>

#include "ui/pages/WheelGuard.h"

namespace {

// Kept on a field: the label of its row. The label is a sibling and lives as long.
class RowLabel : public wxClientData {
 public:
  explicit RowLabel(wxStaticText* label) : label_(label) {}
  wxStaticText* Label() const { return label_; }

 private:
  wxStaticText* label_;
};

void TieLabel(wxWindow* field, wxStaticText* label) {
  if (field) field->SetClientObject(new RowLabel(label));
}

}  // namespace

wxStaticText* LabelOf(wxWindow* field) {
  const auto* tie = field ? dynamic_cast<RowLabel*>(field->GetClientObject()) : nullptr;
  return tie ? tie->Label() : nullptr;
}

FieldGrid::FieldGrid(wxWindow* page, const wxString& title)
    : group_(new wxStaticBoxSizer(wxVERTICAL, page, title)),
      box_(group_->GetStaticBox()),
      grid_(new wxGridBagSizer(kInnerGap, kInnerGap)) {
  grid_->SetEmptyCellSize(wxSize(0, 0));
  group_->Add(grid_, 1, wxEXPAND | wxALL, kInnerGap);
}

wxStaticText* FieldGrid::AddLabel(const wxString& label, int id) {
  auto* text = new wxStaticText(box_, id, label);
  grid_->Add(text, wxGBPosition(row_, 0), wxDefaultSpan, wxALIGN_CENTER_VERTICAL);
  return text;
}

wxStaticText* FieldGrid::AddRow(const wxString& label, wxWindow* field, int id) {
  wxStaticText* text = AddLabel(label, id);
  TieLabel(field, text);
  field->SetMinSize(wxSize(kFieldMinWidth, -1));
  grid_->Add(field, wxGBPosition(row_++, 1), wxDefaultSpan, wxEXPAND | wxALIGN_CENTER_VERTICAL);
  if (!grid_->IsColGrowable(1)) grid_->AddGrowableCol(1);
  return text;
}

wxStaticText* FieldGrid::AddRow(const wxString& label, wxSizer* field, int id) {
  wxStaticText* text = AddLabel(label, id);
  if (!field->IsEmpty()) TieLabel(field->GetItem(std::size_t{0})->GetWindow(), text);
  grid_->Add(field, wxGBPosition(row_++, 1), wxDefaultSpan, wxEXPAND | wxALIGN_CENTER_VERTICAL);
  if (!grid_->IsColGrowable(1)) grid_->AddGrowableCol(1);
  return text;
}

void FieldGrid::AddWide(wxWindow* control) {
  grid_->Add(control, wxGBPosition(row_++, 0), wxGBSpan(1, 2), wxALIGN_CENTER_VERTICAL);
}

void FieldGrid::AddWide(wxSizer* controls) {
  // The whole row's width, so that a wrapping row wraps only where the column is narrow.
  grid_->Add(controls, wxGBPosition(row_++, 0), wxGBSpan(1, 2), wxEXPAND | wxALIGN_CENTER_VERTICAL);
}

wxWindow* MakePageBody(wxWindow* page) {
  auto* body = new wxScrolledWindow(page, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxVSCROLL | wxTAB_TRAVERSAL);
  body->SetScrollRate(0, 12);
  return body;
}

void FinishPageLayout(wxWindow* page, wxWindow* body, wxSizer* content) {
  auto* inner = new wxBoxSizer(wxVERTICAL);
  inner->Add(content, 1, wxEXPAND | wxALL, kGroupGap);
  body->SetSizer(inner);
  auto* outer = new wxBoxSizer(wxVERTICAL);
  outer->Add(body, 1, wxEXPAND);
  page->SetSizer(outer);
  GuardDropDownWheels(body);
}
