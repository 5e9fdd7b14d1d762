// The "Add Directory" field and the two choosers as a user drives them through the X
// server: a pipe typed into the field is refused without freezing the window, Enter keeps
// adding after a message box and while the completion popup is open, and folders and
// files chosen with F7 and F4 by keys are added without a popup left over the list.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "ListTestSupport.h"
#include "MessageAnswer.h"
#include "UiTestSupport.h"
#include "XUser.h"
#include "ui/resources/ResourceIds.h"

namespace {

// Opens the pipe for writing every 100 ms while it lives. A non-blocking open for writing
// succeeds only while someone waits in an open for reading, so each success is a window
// stuck opening the pipe, which the open releases: a fault fails the test, never hangs it.
class PipeWriters {
 public:
  explicit PipeWriters(std::string pipe)
      : pipe_(std::move(pipe)), thread_([this] {
          while (!stop_) {
            const int fd = open(pipe_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ++releases_, close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
          }
        }) {}
  ~PipeWriters() {
    stop_ = true;
    thread_.join();
  }
  int Releases() const { return releases_; }

 private:
  std::string pipe_;
  std::atomic<bool> stop_{false};
  std::atomic<int> releases_{0};
  std::thread thread_;
};

class AddDirectoryFieldTest : public ListTest {
 protected:
  void OpenForUser() {
    ASSERT_TRUE(user_.Ready()) << "XTest is needed to drive the window";
    OpenListFrame();
    field_ = wxStaticCast(page_->FindWindow(Res::AddDirectoryField), wxTextCtrl);
    page_->SetFolderText("");
    field_->SetFocus();
    PumpEvents(200);
    for (const XWindowSeen& w : user_.Windows())
      if (w.title == "Brindlemark") frameId_ = w.id;
    ASSERT_NE(frameId_, 0u);
  }
  // Helper-thread steps: the pointer over the field (keys go to the window under it), the
  // field clicked and its text replaced by typing.
  void PointAtField() { user_.MoveTo(fieldSpot_.x, fieldSpot_.y); }
  void TypeIntoField(const std::string& text) {
    PointAtField();
    user_.Click();
    user_.Key("a", false, true);  // select all, so the typing replaces it
    user_.Type(text);
  }
  // Closes the message box the window shows with Enter; false when none came.
  bool CloseMessageBox(int timeoutMs = 15000) {
    const XWindowSeen box = user_.WaitForWindow("Brindlemark", timeoutMs, frameId_);
    if (!box.id) return false;
    user_.MoveTo(box.x + box.width / 2, box.y + box.height / 2);
    user_.Key("Return");
    return WaitUntilOnlyTheFrame(5000);
  }
  // True once the frame is the only window on the screen (no box, no popup).
  bool WaitUntilOnlyTheFrame(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
      if (OnlyTheFrame()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool OnlyTheFrame() const {
    const auto windows = user_.Windows();
    return windows.size() == 1 && windows[0].id == frameId_;
  }
  void NoteFieldSpot() {
    fieldSpot_ = field_->GetScreenRect().GetPosition() + wxPoint(40, field_->GetSize().y / 2);
  }

  XUser user_;
  wxTextCtrl* field_ = nullptr;
  unsigned long frameId_ = 0;
  wxPoint fieldSpot_;
};

TEST_F(AddDirectoryFieldTest, APipeTypedIntoTheFieldIsRefusedAndTheWindowAnswersAfterwards) {
  const std::string pipe = dir_ / "incoming.jpg";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string folder = dir_ / "in";
  ASSERT_TRUE(WritePictures({folder + "/a.png", folder + "/b.png"}));
  OpenForUser();
  NoteFieldSpot();
  PipeWriters writers(pipe);
  std::atomic<bool> refused{false};
  ASSERT_TRUE(RunAlongside([&] {
    TypeIntoField(pipe);
    user_.Key("Return");
    refused = CloseMessageBox();
    TypeIntoField(folder);
    user_.Key("Return");
  }));
  EXPECT_TRUE(refused);
  // The window answers: the folder typed after the message is added.
  EXPECT_TRUE(WaitFor([&] { return session_->list->Count() == 2 && !TheSearchDialog(); }, 20000));
  // What the message says, and that nothing is opened to find it out.
  std::vector<std::string> texts;
  page_->SetFolderText(wxString::FromUTF8(pipe));
  wxTEST_DIALOG(page_->AddFromField(), AnswerMessage(texts));
  EXPECT_EQ(texts, std::vector<std::string>{"'" + pipe +
                                            "' is not a file or a folder (it may be a pipe, a "
                                            "device or a socket), so it cannot be added."});
  EXPECT_EQ(writers.Releases(), 0) << "the window blocked opening the pipe";
}

TEST_F(AddDirectoryFieldTest, EnterAddsAfterAMessageBoxAndWhileTheCompletionPopupIsOpen) {
  const std::string folder = dir_ / "in";
  ASSERT_TRUE(WritePictures({folder + "/a.png", folder + "/b.png"}));
  OpenForUser();
  NoteFieldSpot();
  std::atomic<bool> boxClosed{false}, popupGone{false};
  ASSERT_TRUE(RunAlongside([&] {
    // Enter on the empty field: the message, closed with Enter.
    PointAtField();
    user_.Key("Return");
    boxClosed = CloseMessageBox();
    // Then the folder, typed (its completion popup opens) and added with one Enter, which
    // also closes the popup.
    TypeIntoField(folder);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    user_.Key("Return");
    popupGone = WaitUntilOnlyTheFrame(10000);
  }));
  EXPECT_TRUE(boxClosed);
  EXPECT_TRUE(WaitFor([&] { return session_->list->Count() == 2 && !TheSearchDialog(); }, 20000));
  EXPECT_TRUE(popupGone);
  std::vector<std::string> texts;
  page_->SetFolderText("");
  wxTEST_DIALOG(page_->AddFromField(), AnswerMessage(texts));
  EXPECT_EQ(texts, std::vector<std::string>{"Directory/file '' doesn't exist."});
}

// F7 and F4 with typed paths, from the home folder and from another working folder (where
// the desktop's chooser would open on its recent places without a start folder).
TEST_F(AddDirectoryFieldTest, ChoosersDrivenByKeysAddWhatWasTypedAndLeaveNoPopup) {
  const std::string folder = dir_ / "chosen";
  ASSERT_TRUE(WritePictures({folder + "/a.png", folder + "/b.png"}));
  const std::string file = dir_ / "single/one.png";
  ASSERT_TRUE(WritePictures({file}));
  const std::string home = wxGetHomeDir().utf8_string();
  const std::filesystem::path oldCwd = std::filesystem::current_path();
  OpenForUser();
  NoteFieldSpot();
  const wxPoint frameMiddle = frame_->GetScreenRect().GetPosition() + wxPoint(340, 300);
  int expected = 0;
  for (const bool fromHome : {true, false}) {
    SCOPED_TRACE(fromHome ? "started in the home folder" : "started elsewhere");
    std::filesystem::current_path(fromHome ? home : std::string(dir_ / "single"));
    session_->settings.lastSelFileDir.clear();
    for (const bool folderChooser : {true, false}) {
      SCOPED_TRACE(folderChooser ? "F7" : "F4");
      std::atomic<bool> chooserSeen{false}, clean{false};
      ASSERT_TRUE(RunAlongside([&] {
        user_.MoveTo(frameMiddle.x, frameMiddle.y);
        user_.Key(folderChooser ? "F7" : "F4");
        const XWindowSeen chooser =
            user_.WaitForWindow(folderChooser ? "Select the folder" : "Select Image Files", 15000);
        if (!chooser.id) return;
        chooserSeen = true;
        user_.MoveTo(chooser.x + chooser.width / 2, chooser.y + chooser.height / 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        user_.Type(folderChooser ? folder : file);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        user_.Key("Return");
        clean = WaitUntilOnlyTheFrame(20000);
      }));
      ASSERT_TRUE(chooserSeen);
      expected += folderChooser ? 2 : 1;
      EXPECT_TRUE(WaitFor([&] { return session_->list->Count() == expected && !TheSearchDialog(); },
                          20000));
      EXPECT_TRUE(clean) << "a window besides the frame stayed open";
      EXPECT_EQ(page_->FolderText(), wxString::FromUTF8(folderChooser ? folder : dir_ / "single"));
    }
  }
  // The first click on the list selects its row (no popup takes it), and Enter in the field
  // still adds.
  const wxPoint row = RowPoint(0);
  ASSERT_TRUE(RunAlongside([&] {
    user_.MoveTo(row.x, row.y);
    user_.Click();
    TypeIntoField(folder);
    user_.Key("Return");
  }));
  EXPECT_TRUE(WaitFor([&] { return session_->list->SelectedCount() == 1; }));
  EXPECT_TRUE(WaitFor([&] { return session_->list->Count() == expected + 2; }, 20000));
  std::filesystem::current_path(oldCwd);
}

}  // namespace
