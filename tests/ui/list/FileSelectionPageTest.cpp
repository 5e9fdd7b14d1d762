// The file selection page: sources entering the list through the field and its button, a
// drop, the searching dialog (cancel keeps what was found), awkward paths, and what the
// page keeps in the store across two sessions.
#include <sys/stat.h>
#include <unistd.h>

#include <wx/evtloop.h>
#include <wx/testing.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "ListTestSupport.h"
#include "UiTestSupport.h"
#include "ui/resources/ResourceIds.h"

namespace {

using FileSelectionPageTest = ListTest;

std::vector<std::string> Numbered(const std::string& folder, int count) {
  std::vector<std::string> paths;
  char name[32];
  for (int i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "p%03d.png", i);
    paths.push_back(folder + "/" + name);
  }
  return paths;
}

TEST_F(FileSelectionPageTest, AddAllFilesFillsTheRowsInCollectionOrder) {
  const std::string folder = dir_ / "two hundred";
  const std::vector<std::string> paths = Numbered(folder, 200);
  ASSERT_TRUE(WritePictures(paths));
  OpenListFrame();
  // The user types the folder and presses the button.
  auto* field = wxStaticCast(page_->FindWindow(Res::AddDirectoryField), wxTextCtrl);
  field->SetFocus();
  field->SelectAll();
  wxUIActionSimulator user;
  user.Text(folder.c_str());
  ASSERT_TRUE(WaitFor([&] { return field->GetValue() == folder; }));
  EXPECT_EQ(session_->settings.CurrentFolder, folder);
  wxWindow* button = page_->FindWindow(Res::AddAllFilesButton);
  // The completion offers the folder itself; Escape closes its popup, which would take
  // the click.
  PumpEvents(300);
  user.Char(WXK_ESCAPE);
  PumpEvents(100);
  user.MouseMove(button->GetScreenRect().GetPosition() + wxPoint(10, 6));
  PumpEvents(100);
  user.MouseClick();
  ASSERT_TRUE(WaitFor([&] { return session_->list->Count() == 200 && !TheSearchDialog(); }, 30000));
  EXPECT_EQ(RowNames(), paths);
  EXPECT_EQ(list_->ItemAt(0)->relativePath, "p000.png");  // one folder: paths start inside it
  PumpEvents(100);
  EXPECT_EQ(frame_->GetStatusBar()->GetStatusText(0), "Total files: 200 Succeeded: 0 Failed: 0");
  // The same folder again (Enter in the field this time) adds every file a second time.
  field->SetFocus();
  user.Char(WXK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return session_->list->Count() == 400 && !TheSearchDialog(); }, 30000));
  EXPECT_EQ(list_->ItemAt(0)->sourcePath,
            list_->ItemAt(1)->sourcePath);  // sorted: the twins side by side
}

TEST_F(FileSelectionPageTest, AFieldNamingNothingSaysSo) {
  OpenListFrame();
  const std::string missing = dir_ / "no such 'place'";
  page_->SetFolderText(wxString::FromUTF8(missing));
  wxTEST_DIALOG(page_->AddFromField(), wxExpectModal<wxMessageDialog>(wxID_OK).Describe(
                                           "Directory/file '" + missing + "' doesn't exist."));
  page_->SetFolderText("");
  wxTEST_DIALOG(page_->AddFromField(), wxExpectModal<wxMessageDialog>(wxID_OK));
  EXPECT_EQ(session_->list->Count(), 0);
  // A file (not a folder) in the field adds that file.
  const std::string one = dir_ / "one.jpg";
  ASSERT_TRUE(WritePictures({one}));
  page_->SetFolderText(wxString::FromUTF8(one));
  page_->AddFromField();
  EXPECT_EQ(RowNames(), std::vector<std::string>{one});
}

TEST_F(FileSelectionPageTest, DropOfThreeFilesAndAFolderAddsTheirItems) {
  const std::string in = dir_ / "in";
  const std::vector<std::string> files = {in + "/c.png", in + "/a.jpg", in + "/b.png"};
  const std::vector<std::string> inner = {in + "/sub/x.png", in + "/sub/deeper/y.png"};
  std::vector<std::string> all = files;
  all.insert(all.end(), inner.begin(), inner.end());
  ASSERT_TRUE(WritePictures(all));
  OpenListFrame();
  PumpEvents(200);  // the first paint registers the drop target
  wxDropTarget* target = list_->GetDropTarget();
  ASSERT_TRUE(target);
  auto* files_target = static_cast<FileDropTarget*>(target);
  EXPECT_EQ(files_target->OnEnter(5, 5, wxDragCopy), wxDragCopy);
  wxArrayString names;
  for (const auto& f : files) names.push_back(wxString::FromUTF8(f));
  names.push_back(wxString::FromUTF8(in + "/sub"));
  ASSERT_TRUE(files_target->OnDropFiles(5, 5, names));
  ASSERT_EQ(session_->list->Count(), 5);
  // Several sources: relative paths start with each source's own name.
  std::vector<std::string> relative;
  for (int row = 0; row < list_->RowCount(); ++row)
    relative.push_back(list_->ItemAt(row)->relativePath);
  EXPECT_EQ(relative,
            (std::vector<std::string>{"a.jpg", "b.png", "c.png", "sub/deeper/y.png", "sub/x.png"}));
  EXPECT_EQ(session_->settings.lastSelFileDir, in);
  EXPECT_EQ(page_->FolderText(), in);
  // An empty drop, and any drop while the list is busy, is refused.
  EXPECT_FALSE(files_target->OnDropFiles(5, 5, wxArrayString()));
  {
    ConversionList::BusyScope busy(*session_->list);
    EXPECT_EQ(files_target->OnEnter(5, 5, wxDragCopy), wxDragNone);
    EXPECT_EQ(files_target->OnDragOver(5, 5, wxDragCopy), wxDragNone);
    EXPECT_FALSE(files_target->OnDropFiles(5, 5, names));
    EXPECT_FALSE(session_->list->RemoveAll());
  }
  EXPECT_EQ(session_->list->Count(), 5);
}

// Runs `step` at each idle time until it returns true: the search handles idle time once
// each time it handles events, so the step sees every stage the user could see. A handler
// that queues itself again with CallAfter would not do: wx handles the application's
// pending calls until none is left, so the search's event handling would never return.
class Watch {
 public:
  explicit Watch(std::function<bool()> step) : step_(std::move(step)) {
    wxTheApp->Bind(wxEVT_IDLE, &Watch::OnIdle, this);
  }
  ~Watch() { wxTheApp->Unbind(wxEVT_IDLE, &Watch::OnIdle, this); }

 private:
  void OnIdle(wxIdleEvent& event) {
    event.Skip();
    if (done_ || inside_) return;  // a step that pumps events comes back here
    inside_ = true;
    done_ = step_();
    inside_ = false;
  }

  std::function<bool()> step_;
  bool done_ = false, inside_ = false;
};

TEST_F(FileSelectionPageTest, EscapeOrCancelStopsADeepSearchAndKeepsWhatWasFound) {
  // Forty nested folders of 250 pictures each: one written by Pillow, the rest links to it
  // (the whole collection takes about a second).
  const std::string picture = dir_ / "one.png";
  ASSERT_TRUE(WritePictures({picture}));
  std::string folder = dir_ / "deep";
  for (int level = 0; level < 40; ++level) {
    folder += "/d" + std::to_string(level);
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 250; ++i)
      std::filesystem::create_hard_link(picture, folder + "/f" + std::to_string(i) + ".png");
  }
  OpenListFrame();
  for (const bool byButton : {false, true}) {
    SCOPED_TRACE(byButton ? "Cancel button" : "Escape");
    session_->list->RemoveAll();
    list_->ApplyPendingChanges();
    // Once some rows are in, the user presses Escape in the dialog or clicks Cancel.
    bool pressed = false;
    int foundAtPress = 0;
    wxString statusSeen;
    Watch watch([&] {
      SearchDialog* search = TheSearchDialog();
      if (!search || session_->list->Count() < 10) return false;
      pressed = true;
      foundAtPress = session_->list->Count();
      statusSeen = search->StatusText();
      search->Raise();
      wxUIActionSimulator user;
      if (byButton) {
        const wxWindow* cancel = search->FindWindow(wxID_CANCEL);
        user.MouseMove(cancel->GetScreenRect().GetPosition() + cancel->GetSize() / 2);
        user.MouseClick();
      } else {
        search->SetFocus();
        user.Char(WXK_ESCAPE);
      }
      return true;
    });
    const auto started = std::chrono::steady_clock::now();
    page_->AddPaths({dir_ / "deep"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    const int found = session_->list->Count();
    ASSERT_TRUE(pressed);
    EXPECT_GE(found, foundAtPress);
    EXPECT_LT(found, 10000);
    EXPECT_TRUE(statusSeen.StartsWith(wxString::FromUTF8(dir_ / "deep/d0/"))) << statusSeen;
    // No half-added row: every row is an item of the list and the other way round.
    ASSERT_EQ(list_->RowCount(), found);
    for (const auto& item : session_->list->Items()) {
      EXPECT_GE(list_->RowOf(item.get()), 0);
      EXPECT_EQ(item->listFlags, 0);
    }
    EXPECT_FALSE(session_->list->Busy());
    EXPECT_FALSE(TheSearchDialog());
  }
}

TEST_F(FileSelectionPageTest, AwkwardPathsAreAddedOrSkippedWithoutHanging) {
  const std::string in = dir_ / "odd";
  const std::vector<std::string> named = {in + "/with blank.png", in + "/quote's \"x\".png",
                                          in + "/\xC3\xA9t\xC3\xA9.png", in + "/back\\slash.png"};
  ASSERT_TRUE(WritePictures(named));
  ASSERT_EQ(mkfifo((in + "/x.jpg").c_str(), 0600), 0);
  std::filesystem::create_directories(in + "/loop");
  std::filesystem::create_directory_symlink("..", in + "/loop/up");
  std::filesystem::create_directories(in + "/locked");
  ASSERT_TRUE(WritePictures({in + "/locked/hidden.png"}));
  chmod((in + "/locked").c_str(), 0);
  OpenListFrame();
  const auto started = std::chrono::steady_clock::now();
  page_->AddPaths({in, dir_ / "gone.png"});
  chmod((in + "/locked").c_str(), 0700);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  std::vector<std::string> names = RowNames();
  // Every named picture once, though the loop leads back into the folder; nothing from
  // the locked folder (unless the tests run with rights to read it anyway).
  for (const auto& path : named) EXPECT_EQ(std::count(names.begin(), names.end(), path), 1) << path;
  EXPECT_EQ(std::count(names.begin(), names.end(), dir_ / "gone.png"), 0);
  if (geteuid() != 0) {
    EXPECT_EQ(std::count(names.begin(), names.end(), in + "/locked/hidden.png"), 0);
  }
}

TEST_F(FileSelectionPageTest, ColumnWidthsAndFoldersSurviveTwoSessions) {
  OpenListFrame();
  // The user widens the Type column by dragging its right edge, and types a folder.
  int edge = 0;
  for (int c = 0; c <= 4; ++c) edge += list_->GetColumnWidth(c);
  const int before = list_->GetColumnWidth(4);
  wxUIActionSimulator user;
  user.MouseMove(list_->ClientToScreen(wxPoint(edge - 1, 8)));
  PumpEvents(100);
  user.MouseDown();
  PumpEvents(50);
  for (int step = 1; step <= 6; ++step) {
    user.MouseMove(list_->ClientToScreen(wxPoint(edge - 1 + 5 * step, 8)));
    PumpEvents(30);
  }
  user.MouseUp();
  PumpEvents(100);
  const int widened = list_->GetColumnWidth(4);
  const int widthColumn = list_->GetColumnWidth(5);
  EXPECT_GT(widened, before);
  page_->SetFolderText("/photos/2025 summer");
  session_->settings.lastSelFileDir = "/photos/last";
  CloseFrame();
  session_->Save();

  // The second session reads them back from the store file.
  session_ = std::make_unique<AppSession>(storePath_);
  session_->Load();
  OpenListFrame();
  EXPECT_EQ(list_->GetColumnWidth(4), widened);
  EXPECT_EQ(list_->GetColumnWidth(5), widthColumn);
  EXPECT_EQ(page_->FolderText(), "/photos/2025 summer");
  EXPECT_EQ(session_->settings.lastSelFileDir, "/photos/last");
}

TEST_F(FileSelectionPageTest, Screenshots) {
  if (!HaveImport()) GTEST_SKIP() << "ImageMagick's import is needed for screenshots";
  const std::string in = dir_ / "holiday";
  std::vector<std::string> paths;
  for (const char* name :
       {"beach.jpg", "harbour.png", "hills.jpg", "market.png", "sunset.jpg", "town.png"})
    paths.push_back(in + "/" + name);
  ASSERT_TRUE(WritePictures(paths));
  OpenListFrame();
  std::filesystem::create_directories(BM_UI_OUTPUT_DIR);
  // The searching dialog, held at its first item while it is painted and captured.
  wxImage dialogShot;
  wxString statusShown;
  wxRect statusLine;
  {
    Watch watch([&] {
      SearchDialog* search = TheSearchDialog();
      if (!search || session_->list->Count() < 1) return false;
      statusShown = search->StatusText();
      statusLine = search->FindWindow(Res::SearchStatusText)->GetRect();
      // Paints only: the search is yielding already, so a plain yield here would do nothing.
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
      while (std::chrono::steady_clock::now() < until) {
        wxEventLoopBase::GetActive()->YieldFor(wxEVT_CATEGORY_UI);
        wxMilliSleep(5);
      }
      dialogShot = CaptureScreen(search->GetScreenRect(),
                                 std::string(BM_UI_OUTPUT_DIR) + "/searching-dialog.png");
      search->Cancel();
      return true;
    });
    page_->AddPaths({in});
  }
  EXPECT_EQ(statusShown, wxString::FromUTF8(paths[0]));
  ASSERT_TRUE(dialogShot.IsOk());
  // The path is drawn, not the "..." of a search that has found nothing yet.
  int inked = 0;
  for (int x = statusLine.x; x < statusLine.GetRight() && x < dialogShot.GetWidth(); ++x)
    for (int y = statusLine.y; y < statusLine.GetBottom() && y < dialogShot.GetHeight(); ++y)
      if (dialogShot.GetRed(x, y) < 100) {
        ++inked;
        break;
      }
  EXPECT_GT(inked, 150);
  session_->list->RemoveAll();
  page_->AddPaths({in});
  // Results of all three kinds.
  const int statuses[] = {1, 2, 0, 1, 1, 2};
  for (int row = 0; row < list_->RowCount(); ++row) {
    ConversionItem* item = list_->ItemAt(row);
    item->status = statuses[row];
    if (item->status != 0) item->width = 8, item->height = 6, item->bitDepth = 24;
    if (item->status == 1)
      item->newWidth = 150, item->newHeight = 100, item->newBitDepth = 24,
      item->log = "Successfully converted";
    if (item->status == 2) item->log = "Failed to load image";
    list_->UpdateRow(item);
  }
  session_->list->RecountStatus();
  page_->SetFolderText(wxString::FromUTF8(in));
  PumpEvents(300);
  const wxImage page = CaptureScreen(frame_->GetScreenRect(),
                                     std::string(BM_UI_OUTPUT_DIR) + "/file-selection-page.png");
  ASSERT_TRUE(page.IsOk());
  EXPECT_EQ(page.GetSize(), frame_->GetSize());
}

// A timed loop, not a test of times: run with --gtest_also_run_disabled_tests to print
// how long 10,000 rows take to fill, sort and refresh.
TEST_F(FileSelectionPageTest, DISABLED_TenThousandRowsTimings) {
  OpenListFrame();
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::vector<std::unique_ptr<ConversionItem>> made;
  const int kRows = std::getenv("BM_ROWS") ? std::atoi(std::getenv("BM_ROWS")) : 10000;
  for (int i = 0; i < kRows; ++i) {
    auto item = MakeItem("n" + std::to_string((i * 7919) % kRows), i % 3);
    item->baseFolder = "/pictures";
    item->relativePath = item->sourcePath.substr(10);
    item->fileSize = static_cast<std::uint64_t>((i * 104729) % 5000000);
    item->width = (i * 31) % 4000 - 1;
    made.push_back(std::move(item));
  }
  auto start = Clock::now();
  Clock::duration rowsTime{}, modelTime{};
  auto lastDrain = Clock::now();
  for (auto& item : made) {
    ConversionItem* raw = item.get();
    const auto t0 = Clock::now();
    list_->AppendRow(raw);
    const auto t1 = Clock::now();
    session_->list->Append(std::move(item));
    if (Clock::now() - lastDrain > std::chrono::milliseconds(40)) {  // as the search drains
      wxTheApp->Yield(true);
      lastDrain = Clock::now();
    }
    modelTime += Clock::now() - t1;
    rowsTime += t1 - t0;
  }
  session_->list->RecountStatus();
  list_->ApplyPendingChanges();
  const double fill = ms(Clock::now() - start);
  std::printf("appending rows %.1f ms, adding to the model and handling events %.1f ms\n",
              ms(rowsTime), ms(modelTime));
  PumpEvents(50);
  double sorts[3];
  const int columns[3] = {0, 3, 5};
  for (int i = 0; i < 3; ++i) {
    start = Clock::now();
    list_->SortBy(columns[i], true);
    list_->Update();
    sorts[i] = ms(Clock::now() - start);
  }
  start = Clock::now();
  list_->ItemAt(5)->status = 1;
  list_->UpdateRow(list_->ItemAt(5), -1);
  list_->Update();
  const double refresh = ms(Clock::now() - start);
  std::printf(
      "%d rows: fill+sort %.1f ms; sort by File Name %.1f ms, Size %.1f ms, Width %.1f ms; refresh "
      "one row %.2f ms\n",
      kRows, fill, sorts[0], sorts[1], sorts[2], refresh);
  EXPECT_EQ(list_->RowCount(), kRows);
}

}  // namespace
