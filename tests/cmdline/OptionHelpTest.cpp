// The option table for people against the parser, the --help text and the manual page
// made from it, and --help and --version of the real programs.
#include <gtest/gtest.h>

#include <sstream>

#include "cmdline/CommandLineParser.h"
#include "cmdline/ManPage.h"
#include "cmdline/OptionHelp.h"
#include "support/TestFiles.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A new option in the parser needs its line here: --help and the manual page are made
// from this table.
TEST(OptionHelp, EveryParserOptionHasAnEntryAndEveryEntryIsAnOption) {
  for (const std::string& name : CommandLineOptionNames())
    EXPECT_NE(FindOptionHelp(name), nullptr)
        << "option \"" << name << "\" has no line in OptionHelp.cpp";
  const auto known = CommandLineOptionNames();
  for (const OptionHelpEntry& entry : OptionHelpTable())
    EXPECT_NE(std::find(known.begin(), known.end(), entry.name), known.end())
        << "OptionHelp.cpp describes \"" << entry.name << "\", which the parser does not know";
  EXPECT_EQ(OptionHelpTable().size(), known.size());
}

TEST(OptionHelp, UsageShowsEachOptionAtALineStartWithinEightyColumns) {
  const std::string usage = UsageText();
  EXPECT_EQ(
      usage.rfind("Usage: brindlemark -source:<file or folder> -dest:<folder> [options]\n", 0), 0u);
  const auto lines = Lines(usage);
  for (const std::string& line : lines) EXPECT_LE(line.size(), 79u) << line;
  std::vector<std::string> wanted;
  for (const OptionHelpEntry& entry : OptionHelpTable())
    wanted.push_back(std::string("  ").append(OptionSyntax(entry)));
  wanted.insert(wanted.end(), {"  --help", "  --version"});
  for (const std::string& start : wanted) {
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.rfind(start, 0) == 0 &&
             (line.size() == start.size() || line[start.size()] == ' ');
    });
    EXPECT_NE(found, lines.end()) << start;
  }
  EXPECT_NE(usage.find("Exit status: 0 when every page converted, 1 otherwise.\n"),
            std::string::npos);
}

// The frame's bars as the program draws them: -paddingvert left and right, -paddinghorz
// above and below.
TEST(OptionHelp, FrameOptionsNameTheBarsTheyDraw) {
  const std::string usage = UsageText();
  EXPECT_NE(usage.find("  -paddingvert:<pixels>   Frame width left and right; adds a frame.\n"),
            std::string::npos);
  EXPECT_NE(usage.find("  -paddinghorz:<pixels>   Frame height above and below; adds a frame.\n"),
            std::string::npos);
}

// The resize rule's line is made from the mode table: its letters are the parser's, in the
// order of the stored values, and each is explained.
TEST(OptionHelp, ResizeRuleLineNamesEveryModeTheParserTakes) {
  const OptionHelpEntry& mode = *FindOptionHelp("mode");
  EXPECT_EQ(mode.value, "fc|fp|m|w|h|r|n|f|fw|fh");
  EXPECT_EQ(mode.meaning,
            "Resize rule: fixed size cropped to keep the aspect (fc), fixed size padded to keep "
            "the aspect (fp), maximum size (m), fixed width keeping the aspect (w), fixed height "
            "keeping the aspect (h), by ratio (r), none (n), fixed size (f), fixed width (fw), "
            "fixed height (fh); the default is fc.");
  std::istringstream letters{std::string(mode.value)};
  int expected = 0;
  for (std::string letter; std::getline(letters, letter, '|'); ++expected) {
    ConversionSettings settings;
    std::string message;
    EXPECT_EQ(ParseCommandLine({"-dest:/out", "-ratio:50", "-mode:" + letter}, settings, message),
              S_OK)
        << letter << ": " << message;
    EXPECT_EQ(settings.resizeOption, expected) << letter;
  }
  EXPECT_EQ(expected, 10);
  EXPECT_NE(UsageText().find(
                "  -mode:fc|fp|m|w|h|r|n|f|fw|fh\n"
                "                          Resize rule: fixed size cropped to keep the aspect\n"
                "                          (fc), fixed size padded to keep the aspect (fp),\n"
                "                          maximum size (m), fixed width keeping the aspect (w),\n"
                "                          fixed height keeping the aspect (h), by ratio (r),\n"
                "                          none (n), fixed size (f), fixed width (fw), fixed\n"
                "                          height (fh); the default is fc.\n"),
            std::string::npos);
}

TEST(OptionHelp, SyntaxOfValuedOptionsAndFlags) {
  EXPECT_EQ(OptionSyntax(*FindOptionHelp("width")), "-width:<pixels>");
  EXPECT_EQ(OptionSyntax(*FindOptionHelp("samedir")), "-samedir");
  EXPECT_EQ(FindOptionHelp("Width"), nullptr);
}

TEST(ManPage, NamesEveryOptionWithEscapedDashesAndHasTheSections) {
  const std::string page = ManPageText();
  EXPECT_EQ(page.rfind(".TH BRINDLEMARK 1 ", 0), 0u);
  for (const OptionHelpEntry& entry : OptionHelpTable())
    EXPECT_NE(page.find(std::string(".TP\n\\fB\\-").append(entry.name).append("\\fP")),
              std::string::npos)
        << entry.name;
  EXPECT_NE(page.find(".TP\n.B \\-\\-help\n"), std::string::npos);
  EXPECT_NE(page.find(".TP\n.B \\-\\-version\n"), std::string::npos);
  for (const char* section :
       {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "REPORT", "EXIT STATUS", "EXAMPLES", "FILES"})
    EXPECT_NE(page.find(std::string("\n.SH ") + section + "\n"), std::string::npos) << section;
  // A plain "-" is a hyphen to groff, not the minus an option is typed with: every option
  // word after a dash has the dash escaped.
  for (const std::string& line : Lines(page)) {
    EXPECT_NE(line.front(), '\'') << line;
    for (const OptionHelpEntry& entry : OptionHelpTable()) {
      const std::string dashed = std::string("-").append(entry.name);
      for (auto at = line.find(dashed); at != std::string::npos; at = line.find(dashed, at + 1))
        EXPECT_TRUE(at > 0 && line[at - 1] == '\\') << line;
    }
  }
}

// groff, an independent formatter, reads the page without a warning.
TEST(ManPage, GroffFormatsItWithoutWarnings) {
  if (!FileExists("/usr/bin/groff")) GTEST_SKIP() << "groff is not installed";
  TempDir dir;
  WriteFile(dir / "Brindlemark.1", ManPageText());
  const RunResult r =
      RunProgram("/usr/bin/groff", {"-man", "-Tutf8", "-ww", "-z", dir / "Brindlemark.1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
}

RunResult Start(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> full = {"30", BinPath(program)};
  full.insert(full.end(), args.begin(), args.end());
  return RunProgram("/usr/bin/timeout", full);
}

// Both programs answer alone, without the banner, also when other options come along;
// the launcher relays the answer unchanged.
TEST(InformationalSwitches, HelpPrintsTheUsageAndVersionTheVersionsOnBothPrograms) {
  const std::vector<std::string> programs = {"Brindlemark.exe", "Brindlemark.com"};
  for (const std::string& program : programs) {
    if (!FileExists(BinPath(program))) continue;
    for (const auto& args :
         {std::vector<std::string>{"--help"}, {"-dest:/nonexistent", "--help", "-width:x"}}) {
      const RunResult help = Start(program, args);
      EXPECT_EQ(help.exitCode, 0) << program;
      EXPECT_EQ(help.out, UsageText()) << program;
      EXPECT_EQ(help.err, "") << program;
    }
    const RunResult version = Start(program, {"--version"});
    EXPECT_EQ(version.exitCode, 0) << program;
    const auto lines = Lines(version.out);
    ASSERT_EQ(lines.size(), 3u) << version.out;
    EXPECT_EQ(lines[0], "Brindlemark 2.9");
    EXPECT_EQ(lines[1], std::string("FreeImage ").append(FreeImage_GetVersion()));
    EXPECT_EQ(lines[2].rfind("wxWidgets", 0), 0u) << lines[2];
  }
}

// A single dash is an option word like any other, and "help" is none.
TEST(InformationalSwitches, SingleDashHelpIsAWrongArgument) {
  const RunResult r = Start("Brindlemark.exe", {"-help"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("ERROR: Wrong command line argument -help\n"), std::string::npos) << r.out;
}

}  // namespace
