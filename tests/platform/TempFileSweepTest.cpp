// Which temporary files a run removes from a destination folder: only files named as a
// run names them, nobody holds the lock of, and untouched for the minimum age.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/TempFile.h"
#include "platform/TempFileSweep.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

TEST(TempFileSweep, TellsTemporaryNamesFromOthers) {
  const struct {
    const char* name;
    bool temporary;
  } cases[] = {
      {".cat.tmp-a1B2c3.jpg", true},
      {".cat.tmp-a1B2c3", true},
      {"..tmp-a1B2c3.png", true},
      {".a.tmp-b.tmp-a1B2c3.png", true},
      {"cat.tmp-a1B2c3.jpg", false},
      {".cat.tmp-a1B2c.jpg", false},
      {".cat.tmp-a1B2c_.jpg", false},
      {".cat.tmp-a1B2c3.jpg.bak", false},
      {".cat.tmp-a1B2c3x.jpg", false},
      {".tmp-a1B2c3.jpg", false},
      {".cat.jpg", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsTempFileName(c.name), c.temporary) << c.name;
  TempDir dir;
  EXPECT_TRUE(
      IsTempFileName(fs::path(CreateTempFile(dir.path(), "a.b", ".jpg")).filename().string()));
}

TEST(TempFileSweep, RemovesOnlyOldUnlockedTemporaryFiles) {
  TempDir dir;
  const auto age = [&](const std::string& path, int seconds) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(seconds));
  };
  int lock = -1;
  const std::string live = CreateTempFile(dir.path(), "live", ".jpg", &lock);
  ASSERT_GE(lock, 0) << "no lock on this file system";
  age(live, 300);
  const struct {
    std::string name;
    int ageSeconds;
    bool removed;
  } files[] = {
      {".dead.tmp-Abc123.jpg", 300, true},
      {".dead.tmp-Abc123", 61, true},
      {".young.tmp-Abc123.jpg", 20, false},
      {"seen.tmp-Abc123.jpg", 300, false},  // not hidden: a file of the user's
      {".dead.jpg", 300, false},
  };
  for (const auto& f : files) {
    WriteFile(dir / f.name, "bytes");
    age(dir / f.name, f.ageSeconds);
  }
  fs::create_directory(dir / ".folder.tmp-Abc123");
  age(dir / ".folder.tmp-Abc123", 300);

  EXPECT_EQ(RemoveAbandonedTempFiles(dir.path()), 2);
  for (const auto& f : files) EXPECT_EQ(FileExists(dir / f.name), !f.removed) << f.name;
  EXPECT_TRUE(FileExists(live)) << "its writer holds the lock";
  EXPECT_TRUE(FileExists(dir / ".folder.tmp-Abc123"));
  close(lock);  // the writer is gone
  EXPECT_EQ(RemoveAbandonedTempFiles(dir.path()), 1);
  EXPECT_FALSE(FileExists(live));
}

}  // namespace
