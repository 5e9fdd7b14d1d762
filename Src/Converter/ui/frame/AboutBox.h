// AboutBox: the modal "About Brindlemark" dialog: version, rights notice and home page in
// three read-only one-line fields, the libraries the program uses below them, the program
// icon beside them, an OK button.
#pragma once

#include <wx/dialog.h>

class wxStaticBitmap;
class wxTextCtrl;
class wxStaticText;

class AboutBox : public wxDialog {
 public:
  explicit AboutBox(wxWindow* parent);

  wxString VersionText() const;
  wxString RightsText() const;
  wxString HomePageText() const;
  wxString CreditsText() const;
  wxBitmap IconBitmap() const;  // the program icon beside the texts

 private:
  wxTextCtrl* version_;
  wxTextCtrl* rights_;
  wxTextCtrl* homePage_;
  wxStaticText* credits_;
  wxStaticBitmap* icon_;
};
