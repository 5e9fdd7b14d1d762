// Layout helpers of the option pages: a framed group holding a two-column grid of
// labels and fields, rows that span both columns for check boxes, and the page's outer
// border. Spacing is GTK's small dialog spacing (6 px inside a group, 8 px between groups
// and around the page), so that the resize page's two columns fit the smallest window.
#pragma once

#include <wx/gbsizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

constexpr int kInnerGap = 6;
constexpr int kGroupGap = 8;
// The narrowest a field or list may become: GTK would size lists to their longest entry.
constexpr int kFieldMinWidth = 60;
// The "..." buttons beside path fields.
constexpr int kBrowseWidth = 32;

class FieldGrid {
 public:
  // A group framed and titled `title` on `page`; controls are made as children of Box().
  FieldGrid(wxWindow* page, const wxString& title);

  wxWindow* Box() const { return box_; }
  wxSizer* Sizer() const { return group_; }

  // A label and its field (tied together, see LabelOf); the label made here (with `id`)
  // is returned. For a sizer, the label is tied to its first window.
  wxStaticText* AddRow(const wxString& label, wxWindow* field, int id = wxID_ANY);
  wxStaticText* AddRow(const wxString& label, wxSizer* field, int id = wxID_ANY);
  // A control (or a row of them) over both columns.
  void AddWide(wxWindow* control);
  void AddWide(wxSizer* controls);

 private:
  wxStaticText* AddLabel(const wxString& label, int id);

  wxStaticBoxSizer* group_;
  wxWindow* box_;
  wxGridBagSizer* grid_;
  int row_ = 0;
};

// The label a FieldGrid row shows beside `field`, or null.
wxStaticText* LabelOf(wxWindow* field);

// The window that holds a page's groups: it fills the page and scrolls vertically when
// the page is shorter than its groups (GTK's fields are tall; at the window's smallest
// size the resize page needs more height than it has).
wxWindow* MakePageBody(wxWindow* page);
// Gives `body` the sizer `content` inside the page border and lets it fill `page`; the
// drop-downs made so far under `body` take the wheel only with the focus.
void FinishPageLayout(wxWindow* page, wxWindow* body, wxSizer* content);
