// Opening pictures, folders and the help with the desktop's application: the path reaches
// xdg-open as one argument, and every way it can fail (path gone, no xdg-open, xdg-open's
// own failures) says so. The stand-in xdg-open on PATH records what it was given.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "FrameFixture.h"
#include "MessageAnswer.h"
#include "UiTestSupport.h"
#include "support/TestFiles.h"
#include "ui/resources/ResourceIds.h"
#include "strings/StringTable.h"
#include "ui/toolkit/DesktopOpener.h"
#include "ui/toolkit/WxText.h"

namespace {

class DesktopOpenerTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    std::filesystem::create_directories(bin_);
    WriteFile(opener_,
              "#!/bin/sh\n"
              "printf '%s\\n' \"$@\" >> \"$BM_OPENED\"\n"
              "exit ${BM_OPEN_STATUS:-0}\n");
    chmod(opener_.c_str(), 0755);
    setenv("BM_OPENED", record_.c_str(), 1);
    setenv("PATH", bin_.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    unsetenv("BM_OPEN_STATUS");
    FrameTest::TearDown();
  }
  std::string Recorded() const { return ReadFile(record_); }

  std::string oldPath_;
  std::string bin_ = dir_ / "bin";
  std::string opener_ = bin_ + "/xdg-open";
  std::string record_ = dir_ / "opened.txt";
};

TEST_F(DesktopOpenerTest, EveryOutcomeOfAnOpenIsSeen) {
  const std::string picture = dir_ / "a picture; $(touch x).png";
  WriteFile(picture, "png");
  const struct {
    const char* name;
    bool pathExists;
    bool openerInstalled;
    const char* status;
    const char* message;  // %s: the path; empty: none
  } cases[] = {
      {"opened", true, true, "0", ""},
      {"no application", true, true, "3",
       "'%s' cannot be opened: no application is set up for this kind of file. Install a "
       "picture viewer or choose one in the file manager's \"Open With\"."},
      {"opener failed", true, true, "4",
       "'%s' cannot be opened: the desktop's application for it reported a failure."},
      {"opener lost it", true, true, "2", "'%s' cannot be opened: it does not exist (any more)."},
      {"no opener", true, false, "0",
       "'%s' cannot be opened: this desktop has no opener (xdg-open). Install the package "
       "xdg-utils and a picture viewer."},
      {"path gone", false, true, "0", "'%s' cannot be opened: it does not exist (any more)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(record_.c_str());
    const std::string path = c.pathExists ? picture : dir_ / "gone.png";
    setenv("BM_OPEN_STATUS", c.status, 1);
    setenv("PATH", c.openerInstalled ? bin_.c_str() : (dir_ / "empty").c_str(), 1);
    std::vector<std::string> messages;
    const bool started = OpenWithDesktop(wxString::FromUTF8(path), nullptr,
                                         [&](const wxString& m) { messages.push_back(Utf8(m)); });
    EXPECT_EQ(started, c.pathExists && c.openerInstalled);
    const std::string expected = c.message[0] ? FillText(c.message, path, {}) : "";
    // A failing opener is heard of when it ends; a good one never.
    WaitFor([&] { return !messages.empty(); }, expected.empty() ? 1500 : 10000);
    EXPECT_EQ(messages,
              expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{expected});
    EXPECT_EQ(Recorded(), started ? path + "\n" : "");
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "x"));  // no shell read the path
}

TEST_F(DesktopOpenerTest, TheFramesViewAndHelpCommandsSayWhenNothingCanOpen) {
  const std::string converted = dir_ / "done.jpg";
  WriteFile(converted, "jpg");
  OpenFrame();
  auto item = MakeItem("done", ItemStatus::Succeeded);
  item->destPath = converted;
  ConversionItem& done = session_->list->Add(std::move(item));
  session_->list->SetSelected(&done, true);
  // With an opener the converted picture goes to it; without one a message says why not.
  SendCommand(frame_, Res::ViewConverted);
  EXPECT_TRUE(WaitFor([&] { return Recorded() == converted + "\n"; }, 10000));
  setenv("PATH", (dir_ / "empty").c_str(), 1);
  std::vector<std::string> texts;
  wxTEST_DIALOG(SendCommand(frame_, Res::ViewConverted), AnswerMessage(texts));
  wxTEST_DIALOG(SendCommand(frame_, Res::ViewOriginal), AnswerMessage(texts));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].rfind("'" + converted + "' cannot be opened: this desktop has no opener", 0),
            0u);
  // The original is gone (it was never written): that is what the message says.
  EXPECT_EQ(texts[1], "'/pictures/done.png' cannot be opened: it does not exist (any more).");
  // The help beside the test program does not exist either.
  texts.clear();
  wxTEST_DIALOG(SendCommand(frame_, Res::HelpContents), AnswerMessage(texts));
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(".html' cannot be opened: it does not exist"), std::string::npos);
}

// An opener that leaves an application running behind it (as a real one does) is still heard
// of when it ends, and hands that application none of the program's descriptors.
TEST_F(DesktopOpenerTest, AnOpenerThatLeavesAnApplicationRunningIsHeardOfWhenItEnds) {
  const std::string picture = dir_ / "a.png";
  const std::string fds = dir_ / "fds.txt";
  WriteFile(picture, "png");
  WriteFile(opener_,
            "#!/bin/sh\n"
            "ls /proc/$$/fd > \"" +
                fds +
                "\"\n"
                "sleep 30 &\n"
                "exit 4\n");
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::string> messages;
    ASSERT_TRUE(OpenWithDesktop(wxString::FromUTF8(picture), nullptr,
                                [&](const wxString& m) { messages.push_back(Utf8(m)); }));
    EXPECT_TRUE(WaitFor([&] { return !messages.empty(); }, 10000));
    EXPECT_EQ(messages, std::vector<std::string>{FillText(
                            "'%s' cannot be opened: the desktop's application for it reported "
                            "a failure.",
                            picture, {})});
  }
  // The shell's own script descriptor aside, only the standard three.
  std::istringstream listed(ReadFile(fds));
  std::vector<std::string> open;
  for (std::string fd; listed >> fd;) open.push_back(fd);
  EXPECT_LE(open.size(), 4u) << ReadFile(fds);
}

}  // namespace
