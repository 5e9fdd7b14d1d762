// The rendezvous folder and FIFOs, and the FIFO behaviour of the kernel the relays rely on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ConsolePipes.h"
#include "LauncherHarness.h"

namespace {

TEST(RendezvousFolder, FollowsTheAgreedOrderOfChoice) {
  const struct {
    const char* xdg;
    const char* tmp;
    const char* folder;
  } cases[] = {
      {"/run/user/7", "/var/tmp", "/run/user/7/brindlemark"},
      {"", "/var/tmp", "/var/tmp/brindlemark-7"},
      {"relative/dir", nullptr, "/tmp/brindlemark-7"},
      {nullptr, "", "/tmp/brindlemark-7"},
      {nullptr, "tmp", "/tmp/brindlemark-7"},
  };
  for (const auto& c : cases) EXPECT_EQ(RendezvousFolderFor(c.xdg, c.tmp, 7), c.folder);
}

TEST(RendezvousFolder, AcceptsOnlyAPrivateDirectoryOfThisUser) {
  TempDir dir;
  EXPECT_TRUE(PrepareRendezvousFolder(dir / "made"));
  struct stat st;
  ASSERT_EQ(lstat((dir / "made").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(PrepareRendezvousFolder(dir / "made"));  // an existing one is kept

  mkdir((dir / "open").c_str(), 0700);
  chmod((dir / "open").c_str(), 0750);
  ASSERT_EQ(symlink((dir / "made").c_str(), (dir / "link").c_str()), 0);
  WriteFile(dir / "file", "x");
  mkdir((dir / "foreign").c_str(), 0700);
  const bool canChown = chown((dir / "foreign").c_str(), 65534, 65534) == 0;
  for (const char* bad : {"open", "link", "file", "missing/deeper"})
    EXPECT_FALSE(PrepareRendezvousFolder(dir / bad)) << bad;
  if (canChown) {
    EXPECT_FALSE(PrepareRendezvousFolder(dir / "foreign"));
  }
}

TEST(ConsolePipes, ReplacesOwnStaleEntriesAndRemovesWhatItMade) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "4242cout").c_str(), 0600), 0);  // left by a crashed launcher
  WriteFile(dir / "4242cerr", "stale");
  {
    ConsolePipes pipes;
    ASSERT_TRUE(pipes.Create(dir.path(), 4242));
    for (const char* name : {"4242cout", "4242cin", "4242cerr"}) {
      struct stat st;
      ASSERT_EQ(lstat((dir / name).c_str(), &st), 0) << name;
      EXPECT_TRUE(S_ISFIFO(st.st_mode)) << name;
      EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
    // The child's side opens without blocking: a reader exists for cout and cerr.
    const int writer = open((dir / "4242cout").c_str(), O_WRONLY | O_NONBLOCK);
    EXPECT_GE(writer, 0);
    close(writer);
  }
  EXPECT_TRUE(FolderEntries(dir.path()).empty());
}

TEST(ConsolePipes, LeavesAnotherUsersEntryAloneAndFails) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "77cin").c_str(), 0600), 0);
  if (chown((dir / "77cin").c_str(), 65534, 65534) != 0) GTEST_SKIP() << "needs root";
  {
    ConsolePipes pipes;
    EXPECT_FALSE(pipes.Create(dir.path(), 77));
  }
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"77cin"});
}

// The relays take "no event" for "no writer yet": Linux must not report a hang-up on a
// FIFO whose writer never came, and must report one once a writer has come and gone.
TEST(FifoPoll, HangUpOnlyAfterAWriterHasConnected) {
  TempDir dir;
  const std::string path = dir / "f";
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  pollfd p{reader, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 50), 0);
  const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
  EXPECT_EQ(poll(&p, 1, 0), 0);  // connected, nothing written
  close(writer);
  ASSERT_EQ(poll(&p, 1, 50), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  char c;
  EXPECT_EQ(read(reader, &c, 1), 0);
  close(reader);
}

}  // namespace
