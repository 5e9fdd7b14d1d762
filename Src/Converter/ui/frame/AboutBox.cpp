#include "ui/frame/AboutBox.h"

#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/resources/FrameTexts.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"
#include "ui/frame/ProgramIcon.h"
#include "ui/toolkit/WxText.h"

namespace {

wxTextCtrl* ReadOnlyField(wxWindow* parent, const wxString& text) {
  auto* field = new wxTextCtrl(parent, wxID_ANY, text, wxDefaultPosition, wxDefaultSize,
                               wxTE_READONLY | wxBORDER_NONE);
  field->SetBackgroundColour(parent->GetBackgroundColour());
  return field;
}

}  // namespace

AboutBox::AboutBox(wxWindow* parent)
    : wxDialog(parent, Res::AboutBox, WxText(FrameTexts::AboutTitle)) {
  version_ =
      ReadOnlyField(this, wxString::FromUTF8(FormatText(Ids::AboutVersion, FrameTexts::Version)));
  rights_ = ReadOnlyField(this, WxText(FrameTexts::Rights));
  homePage_ = ReadOnlyField(this, WxText(FrameTexts::HomePage));
  credits_ = new wxStaticText(this, wxID_ANY, WxText(FrameTexts::Credits));

  auto* fields = new wxBoxSizer(wxVERTICAL);
  for (wxTextCtrl* field : {version_, rights_, homePage_}) {
    field->SetMinSize(wxSize(FromDIP(340), -1));
    fields->Add(field, 0, wxEXPAND | wxBOTTOM, FromDIP(4));
  }
  fields->Add(credits_, 0, wxTOP, FromDIP(8));

  auto* top = new wxBoxSizer(wxHORIZONTAL);
  icon_ = new wxStaticBitmap(this, wxID_ANY, ProgramIconBitmap(48));
  top->Add(icon_, 0, wxALL, FromDIP(10));
  top->Add(fields, 1, wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));

  auto* body = new wxBoxSizer(wxVERTICAL);
  body->Add(top, 1, wxEXPAND);
  body->Add(CreateButtonSizer(wxOK), 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
  SetSizerAndFit(body);
  CentreOnParent();
}

wxString AboutBox::VersionText() const { return version_->GetValue(); }
wxString AboutBox::RightsText() const { return rights_->GetValue(); }
wxString AboutBox::HomePageText() const { return homePage_->GetValue(); }
wxString AboutBox::CreditsText() const { return credits_->GetLabel(); }
wxBitmap AboutBox::IconBitmap() const { return icon_->GetBitmap(); }
