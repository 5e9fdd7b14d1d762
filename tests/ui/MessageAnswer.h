// Answers the message boxes a step shows without showing them, keeping their texts in order.
#pragma once

#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <string>
#include <vector>

class AnswerMessage : public wxExpectModalBase<wxMessageDialog, AnswerMessage> {
 public:
  AnswerMessage(std::vector<std::string>& texts, int answer = wxID_OK)
      : texts_(&texts), answer_(answer) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    texts_->push_back(box->GetMessage().utf8_string());
    return answer_;
  }

 private:
  std::vector<std::string>* texts_;
  int answer_;
};
