// PageDialog: the base of the option pages that the ConfigurationBar hosts. A page is a
// child panel built from its template number; it gives each child control whose id has a
// text in the string table that text as its tooltip, swallows the OK command that Enter
// produces (Enter in a page closes and commits nothing), and moves data between its
// controls and the settings fields through ExchangeData, which the page switch calls.
#pragma once

#include <wx/panel.h>

class PageDialog : public wxPanel {
 public:
  PageDialog(wxWindow* parent, int templateId);

  int TemplateId() const { return templateId_; }

  // Builds the controls, gives them their tooltips and fills them from the fields.
  // False when the page cannot be made.
  bool Initialise();

  // Moves data between controls and fields: with `toFields` from the controls into the
  // fields, checking them; a failure has shown its message (ReportFailure) and returns
  // false. The empty page has nothing to move.
  virtual bool ExchangeData(bool toFields);

  // Written back when the main window closes, without checks; nothing by default.
  virtual void CommitOnClose() {}

  // Gives the focus back to the control of the last failed exchange, if any.
  void FocusFailedControl();

 protected:
  // Creates the page's controls; called once by Initialise.
  virtual bool CreateControls() { return true; }
  // Shows the message of a failed exchange and remembers the control to focus.
  void ReportFailure(wxWindow* control, const wxString& message);

 private:
  void AttachToolTips(wxWindow* window);
  void OnOk(wxCommandEvent& event);

  int templateId_;
  wxWindow* failedControl_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};
