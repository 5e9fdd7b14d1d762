// The store file: its exact text, what parses and what is dropped, atomic saves.
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "support/TestFiles.h"

namespace {

constexpr const char* kKey = "Software\\Orrinvale\\Brindlemark\\Window";

std::vector<std::uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> out;
  for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

TEST(RegistryStoreTest, WritesRegedit4TextWithTypedValues) {
  RegistryStore store;
  store.SetDword(kKey, "width", 150);
  store.SetString(kKey, "CurrentFolder", "/home/a \"b\"\\c");
  const double half = 0.5;
  store.SetBinary(kKey, "ratio", &half, sizeof half);
  store.Set(kKey, "odd", {RegType::Sz, Bytes({'a', 'b', 'c', 'd'})});  // no NUL: kept raw
  store.Set(kKey, "short", {RegType::Dword, Bytes({1, 2, 3})});
  EXPECT_EQ(store.ToText(),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Orrinvale\\Brindlemark\\Window]\n"
            "\"CurrentFolder\"=\"/home/a \\\"b\\\"\\\\c\"\n"
            "\"odd\"=hex(1):61,62,63,64\n"
            "\"ratio\"=hex:00,00,00,00,00,00,e0,3f\n"
            "\"short\"=hex(4):01,02,03\n"
            "\"width\"=dword:00000096\n");
}

TEST(RegistryStoreTest, TextRoundTripKeepsTypesAndBytes) {
  RegistryStore store;
  store.Set(kKey, "a", {RegType::Sz, Bytes({'x', 0, 'y', 0})});
  store.Set(kKey, "b", {RegType::Binary, {}});
  store.Set(kKey, "c", {RegType::Sz, Bytes({'l', '\n', 0})});
  store.Set(kKey, "d", {static_cast<RegType>(7), Bytes({0xff})});
  store.SetString("Other", "", "default value");
  store.CreateKey("Empty\\Key");
  RegistryStore back;
  back.MergeText(store.ToText());
  EXPECT_EQ(back.ToText(), store.ToText());
  EXPECT_EQ(*back.Query(kKey, "a"), (RegValue{RegType::Sz, Bytes({'x', 0, 'y', 0})}));
  EXPECT_EQ(*back.Query(kKey, "c"), (RegValue{RegType::Sz, Bytes({'l', '\n', 0})}));
  EXPECT_EQ(back.Query(kKey, "b")->data.size(), 0u);
  EXPECT_TRUE(back.KeyExists("empty\\KEY"));
}

TEST(RegistryStoreTest, NamesMatchWithoutCase) {
  RegistryStore store;
  store.MergeText(
      "REGEDIT4\n[hkey_current_user\\SOFTWARE\\orrinvale\\Brindlemark\\WINDOW]\n\"Width\"=dword:"
      "7\n");
  const RegValue* v = store.Query(kKey, "width");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(*v, (RegValue{RegType::Dword, Bytes({7, 0, 0, 0})}));
}

TEST(RegistryStoreTest, DamagedLinesAreDroppedAndTheRestLoads) {
  struct Case {
    const char* line;
    bool kept;
  };
  const Case cases[] = {
      {"\"ok\"=dword:0000000a", true},
      {"\"ok\"=dword:123456789", false},  // nine digits
      {"\"ok\"=dword:", false},
      {"\"ok\"=dword:xyz", false},
      {"\"ok\"=hex:0g", false},
      {"\"ok\"=hex:001", false},
      {"\"ok\"=hex:01,,02", false},
      {"\"ok\"=hex(:01", false},
      {"\"ok\"=hex(123456789):01", false},
      {"\"ok\"=\"unterminated", false},
      {"\"ok\"=\"text\" trailing", false},
      {"\"ok\"", false},
      {"\"ok\"=", false},
      {"\"ok\"=-", false},
      {"\"unterminated=dword:1", false},
      {"ok=dword:1", false},
      {"\"ok\" = dword:1", true},
      {"\"ok\"=hex:01,\\\n  02", true},  // continued on the next line
  };
  for (const Case& c : cases) {
    RegistryStore store;
    // The first line not read is told by its number: the value is the third line.
    EXPECT_EQ(store.MergeText(std::string("REGEDIT4\n[Key]\n") + c.line + "\n\"after\"=dword:1\n"),
              c.kept ? 0 : 3)
        << c.line;
    EXPECT_EQ(store.Query("Key", "ok") != nullptr, c.kept) << c.line;
    EXPECT_NE(store.Query("Key", "after"), nullptr) << c.line;
  }
}

TEST(RegistryStoreTest, ValuesOutsideAValidKeyAreDropped) {
  RegistryStore store;
  const int firstUnread = store.MergeText(
      "\n; "
      "comment\n\"lost\"=dword:1\n[Broken\n\"lost2\"=dword:1\n[]\n\"lost3\"=dword:1\n[Good]"
      "\n\"kept\"=dword:"
      "1\n");
  EXPECT_EQ(store.ToText(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Good]\n\"kept\"=dword:00000001\n");
  EXPECT_EQ(firstUnread, 3);  // blank lines and comments count as read
}

TEST(RegistryStoreTest, RefusesNamesThatCannotBeWritten) {
  RegistryStore store;
  EXPECT_FALSE(store.SetDword(kKey, "two\nlines", 1));
  EXPECT_FALSE(store.SetDword("", "a", 1));
  EXPECT_FALSE(store.CreateKey("ends]"));
  EXPECT_TRUE(store.SetDword(kKey, "a", 1));
}

TEST(RegistryStoreTest, FlushWritesTheFileAtomicallyAndLoadReadsIt) {
  TempDir dir;
  const std::string path = dir / "deep/er/Brindlemark.reg";
  RegistryStore store(path);
  store.SetDword(kKey, "width", 42);
  ASSERT_EQ(store.Flush(), S_OK);
  EXPECT_EQ(ReadFile(path), store.ToText());
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // No temporary file is left beside it.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir / "deep/er")) entries += e.exists();
  EXPECT_EQ(entries, 1);

  RegistryStore again(path);
  again.Load();
  EXPECT_EQ(again.ToText(), store.ToText());
}

TEST(RegistryStoreTest, FailedFlushKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir / "store.reg";
  WriteFile(path, "REGEDIT4\n[Key]\n\"v\"=dword:1\n");
  chmod(dir.path().c_str(), 0500);  // the temporary file cannot be created
  RegistryStore store(path);
  store.SetDword("Key", "v", 2);
  const HRESULT hr = store.Flush();
  chmod(dir.path().c_str(), 0700);
  if (geteuid() != 0) {
    EXPECT_LT(hr, 0);  // root writes anyway
  }
  if (hr < 0) {
    EXPECT_EQ(ReadFile(path), "REGEDIT4\n[Key]\n\"v\"=dword:1\n");
  }
}

TEST(RegistryStoreTest, MissingOrUnreadableFileGivesAnEmptyStore) {
  TempDir dir;
  RegistryStore missing(dir / "none.reg");
  missing.Load();
  EXPECT_EQ(missing.ToText(), "REGEDIT4\n");
  RegistryStore folder(dir.path());
  folder.Load();
  EXPECT_EQ(folder.ToText(), "REGEDIT4\n");
}

TEST(RegistryStoreTest, StorePathFollowsTheConfigurationFolder) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  setenv("XDG_CONFIG_HOME", "/x/conf", 1);
  EXPECT_EQ(DefaultStorePath(), "/x/conf/Orrinvale/Brindlemark/Brindlemark.reg");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/h", 1);
  EXPECT_EQ(DefaultStorePath(),
            std::string(std::getenv("HOME")) + "/.config/Orrinvale/Brindlemark/Brindlemark.reg");
  if (oldXdg)
    setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

// A store file that is a symbolic link: the save replaces the file at the end of the links
// (with the new contents, nothing left beside it) and every link stays a link.
TEST(RegistryStoreTest, FlushThroughSymbolicLinksReplacesTheTargetAndKeepsTheLinks) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link path -> what it holds
    std::string target;                                      // the file that must change
    bool targetExists;
  };
  const std::vector<Case> cases = {
      {"absolute link", {{"store.reg", "@/dots/real.reg"}}, "dots/real.reg", true},
      {"relative link", {{"store.reg", "../dots/real.reg"}}, "dots/real.reg", true},
      {"chain of two",
       {{"store.reg", "hop.reg"}, {"hop.reg", "@/dots/real.reg"}},
       "dots/real.reg",
       true},
      {"dangling link", {{"store.reg", "@/dots/new.reg"}}, "dots/new.reg", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::filesystem::create_directories(dir / "conf");
    std::filesystem::create_directories(dir / "dots");
    if (c.targetExists) WriteFile(dir / c.target, "REGEDIT4\n[HKEY_CURRENT_USER\\Old]\n");
    for (const auto& [link, to] : c.links) {
      const std::string held = to[0] == '@' ? dir.path() + to.substr(1) : to;
      std::filesystem::create_symlink(held, dir / ("conf/" + link));
    }
    RegistryStore store(dir / "conf/store.reg");
    store.SetDword("Software\\K", "v", 7);
    ASSERT_GE(store.Flush(), 0);
    EXPECT_EQ(ReadFile(dir / c.target), store.ToText());
    for (const auto& [link, to] : c.links) {
      const std::string held = to[0] == '@' ? dir.path() + to.substr(1) : to;
      EXPECT_TRUE(std::filesystem::is_symlink(dir / ("conf/" + link))) << link;
      EXPECT_EQ(std::filesystem::read_symlink(dir / ("conf/" + link)).string(), held);
    }
    // No temporary file left in either folder.
    const std::size_t expected = c.links.size();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "conf"), {}),
              static_cast<long>(expected));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "dots"), {}), 1);
    RegistryStore reread(dir / "conf/store.reg");
    reread.Load();
    EXPECT_EQ(reread.ToText(), store.ToText());
  }
}

}  // namespace
