#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/process/ConsoleRendezvous.h"
#include "support/TestFiles.h"

namespace {

// Sets (or unsets, for nullptr) an environment variable for the scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ConsoleRendezvous, FolderFromTheEnvironment) {
  const std::string uid = std::to_string(geteuid());
  struct Case {
    const char* runtime;
    const char* temp;
    std::string expected;
  };
  const Case cases[] = {
      {"/run/user/7", "/var/tmp", "/run/user/7/brindlemark"},
      {"", "/var/tmp", "/var/tmp/brindlemark-" + uid},
      {"relative/dir", nullptr, "/tmp/brindlemark-" + uid},
      {nullptr, "", "/tmp/brindlemark-" + uid},
      {nullptr, "tmp", "/tmp/brindlemark-" + uid},
  };
  for (const auto& c : cases) {
    ScopedVariable runtime("XDG_RUNTIME_DIR", c.runtime);
    ScopedVariable temp("TMPDIR", c.temp);
    EXPECT_EQ(RendezvousFolder(), c.expected);
  }
  EXPECT_EQ(RendezvousPipeName("/run/user/7/brindlemark", 4321, "cerr"),
            "/run/user/7/brindlemark/4321cerr");
}

TEST(ConsoleRendezvous, OnlyAPrivateRealFolderOfOurOwnIsUsable) {
  TempDir dir;
  mkdir((dir / "private").c_str(), 0700);
  mkdir((dir / "shared").c_str(), 0750);
  symlink((dir / "private").c_str(), (dir / "link").c_str());
  WriteFile(dir / "file", "");
  chmod((dir / "file").c_str(), 0600);
  EXPECT_TRUE(RendezvousFolderUsable(dir / "private"));
  EXPECT_FALSE(RendezvousFolderUsable(dir / "shared"));
  EXPECT_FALSE(RendezvousFolderUsable(dir / "link"));
  EXPECT_FALSE(RendezvousFolderUsable(dir / "file"));
  EXPECT_FALSE(RendezvousFolderUsable(dir / "missing"));
  if (geteuid() == 0) {
    mkdir((dir / "foreign").c_str(), 0700);
    ASSERT_EQ(chown((dir / "foreign").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(RendezvousFolderUsable(dir / "foreign"));
  }
}

TEST(ConsoleRendezvous, OpensOnlyOwnFifosAndNeverWaits) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  // A writer without a reader: absent at once (ENXIO), no blocking.
  EXPECT_EQ(OpenOwnFifo(dir / "fifo", O_WRONLY), -1);
  const int reader = OpenOwnFifo(dir / "fifo", O_RDONLY);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(fcntl(reader, F_GETFL) & O_NONBLOCK, 0);
  EXPECT_NE(fcntl(reader, F_GETFD) & FD_CLOEXEC, 0);
  const int writer = OpenOwnFifo(dir / "fifo", O_WRONLY);
  ASSERT_GE(writer, 0);
  EXPECT_EQ(write(writer, "x", 1), 1);
  close(writer);
  close(reader);

  WriteFile(dir / "plain", "");
  EXPECT_EQ(OpenOwnFifo(dir / "plain", O_WRONLY), -1);
  EXPECT_EQ(ReadFile(dir / "plain"), "");
  EXPECT_EQ(OpenOwnFifo(dir / "missing", O_RDONLY), -1);
  symlink((dir / "fifo").c_str(), (dir / "link").c_str());
  EXPECT_EQ(OpenOwnFifo(dir / "link", O_RDONLY), -1);
  if (geteuid() == 0) {
    ASSERT_EQ(mkfifo((dir / "foreign").c_str(), 0600), 0);
    ASSERT_EQ(chown((dir / "foreign").c_str(), 65534, 65534), 0);
    EXPECT_EQ(OpenOwnFifo(dir / "foreign", O_RDONLY), -1);
  }
}

}  // namespace
