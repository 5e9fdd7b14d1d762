// The child's path and the re-quoting of the launcher's arguments into the child's.
#include <gtest/gtest.h>

#include "ChildCommand.h"

namespace {

TEST(ChildPath, ReplacesTheExtensionOfTheLastComponentOnly) {
  const struct {
    const char* launcher;
    const char* child;
  } cases[] = {
      {"/opt/bm/Brindlemark.com", "/opt/bm/Brindlemark.exe"},
      {"/opt/app.d/brindlemark", "/opt/app.d/brindlemark.exe"},  // the folder's dot stays
      {"/opt/a/b.c.com", "/opt/a/b.c.exe"},
      {"/opt/a\\b.d/x\\y.com", "/opt/a\\b.d/x\\y.exe"},  // a backslash is a name character
      {"Brindlemark.com", "Brindlemark.exe"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChildPathFor(c.launcher), c.child) << c.launcher;
  const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(250, 'n');
  EXPECT_EQ(ChildPathFor(deep + ".com"), deep + ".exe");
}

TEST(ChildPath, OwnPathIsThisExecutable) {
  const std::string own = OwnPath();
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(own.substr(own.rfind('/') + 1), "bm_dualmode_tests");
}

TEST(Requote, BuildsTheTextAndTheTokensTheChildReads) {
  const struct {
    std::vector<std::string> arguments;
    const char* text;
    std::vector<std::string> tokens;
  } cases[] = {
      {{"/width:100"}, " /width:100", {"/width:100"}},
      {{"/dest:/home/u/My Pictures"}, " /dest:\"/home/u/My Pictures\"",
       {"/dest:/home/u/My Pictures"}},
      {{"/dest:C:\\My Pictures"}, " /dest:\"C:\\My Pictures\"", {"/dest:C:\\My Pictures"}},
      {{"/prefix:"}, " /prefix", {"/prefix"}},  // a trailing first ":" is dropped
      {{"two words"}, " two words", {"two", "words"}},
      {{"/suffix:a:b c"}, " /suffix:\"a:b c\"", {"/suffix:a:b c"}},
      {{"/prefix:Grüße aus Köln"}, " /prefix:\"Grüße aus Köln\"", {"/prefix:Grüße aus Köln"}},
      {{"/prefix:tab\there"}, " /prefix:\"tab\there\"", {"/prefix:tab\there"}},
      // Quotes inside an argument are dropped, so they cannot swallow later arguments.
      {{"/prefix:say \"hi", "/width:5"}, " /prefix:\"say hi\" /width:5",
       {"/prefix:say hi", "/width:5"}},
      {{"", "/greyscale"}, "  /greyscale", {"/greyscale"}},
      {{}, "", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RequoteArguments(c.arguments), c.text);
    EXPECT_EQ(ChildArguments(c.arguments), c.tokens) << c.text;
  }
}

TEST(Split, QuotesToggleAndEmptyTokensDrop) {
  EXPECT_EQ(SplitArguments("  a\"b c\"d  \"\" e\t\nf"),
            (std::vector<std::string>{"ab cd", "e", "f"}));
  EXPECT_EQ(SplitArguments("\"unclosed  quote"), (std::vector<std::string>{"unclosed  quote"}));
}

}  // namespace
