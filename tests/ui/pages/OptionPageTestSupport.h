// The option pages in a shown main window, for the page tests: the two pages found in the
// bar, controls by id, and simulated choices that raise the events a user's would.
#pragma once

#include <wx/wx.h>

// The pages' wx headers come before FreeImage's (through the fixture), which defines a
// Windows header guard that wx reads.
#include "ui/colour/ColourPicker.h"
#include "ui/pages/NumberField.h"
#include "ui/pages/ResizeOptionPage.h"
#include "ui/pages/ShadowOverlayPage.h"
#include "FrameFixture.h"
#include "UiTestSupport.h"

class OptionPageTest : public FrameTest {
 public:  // the table-driven cases reach them through the fixture
  void OpenPages() {
    OpenFrame();
    resize_ = dynamic_cast<ResizeOptionPage*>(frame_->Bar()->Page(1));
    shadow_ = dynamic_cast<ShadowOverlayPage*>(frame_->Bar()->Page(2));
    ASSERT_NE(resize_, nullptr);
    ASSERT_NE(shadow_, nullptr);
  }

  template <typename T = wxWindow>
  T* Control(wxWindow* page, int id) {
    auto* control = dynamic_cast<T*>(page->FindWindow(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
  }

  // Selects an entry of a list and sends the change as the user's choice would.
  static void Choose(wxChoice* list, const wxString& text) {
    const int index = list->FindString(text, true);
    ASSERT_NE(index, wxNOT_FOUND) << text;
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, list->GetId());
    event.SetEventObject(list);
    event.SetInt(list->GetSelection());
    list->GetEventHandler()->ProcessEvent(event);
  }
  static void Choose(wxChoice* list, int index) {
    Choose(list, list->GetString(static_cast<unsigned>(index)));
  }

  static void Click(wxCheckBox* box, bool checked) {
    box->SetValue(checked);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(checked);
    box->GetEventHandler()->ProcessEvent(event);
  }

  static void Type(wxWindow* field, const wxString& text) {
    if (auto* combo = dynamic_cast<wxComboBox*>(field)) {
      combo->SetValue(text);
    } else {
      dynamic_cast<wxTextCtrl*>(field)->SetValue(text);
    }
  }

  ResizeOptionPage* resize_ = nullptr;
  ShadowOverlayPage* shadow_ = nullptr;

 protected:
  using FrameTest::CloseFrame;
};
