#include "cmdline/CommandLineParser.h"

#include <gtest/gtest.h>

#include <clocale>
#include <climits>

#include "platform/ByteCodes.h"

namespace {

using Tokens = std::vector<std::string>;

TEST(SplitCommandLine, SeparatesAtWhitespaceAndHonoursQuotes) {
  const std::pair<const char*, Tokens> cases[] = {
      {"/width:100 /height:50", {"/width:100", "/height:50"}},
      {" \t/a\n/b\v/c\f/d\r", {"/a", "/b", "/c", "/d"}},
      {"/dest:\"/home/me/My Pictures/out\"", {"/dest:/home/me/My Pictures/out"}},
      {"\"/dest:a b\"c \"\"", {"/dest:a bc"}},
      {"/x:\"open quote stays open", {"/x:open quote stays open"}},
      {"\"\"", {}},
      {"", {}},
  };
  for (const auto& [text, tokens] : cases) EXPECT_EQ(SplitCommandLine(text), tokens) << text;
}

TEST(TokensFromArguments, DropsEmptyArgumentsAndQuotes) {
  const char* argv[] = {"/dest:/a b", "", "\"\"", "/prefix:x\"y"};
  EXPECT_EQ(TokensFromArguments(4, argv), (Tokens{"/dest:/a b", "/prefix:xy"}));
}

TEST(TokensFromArguments, DropsArgumentsOfBlanksOnly) {
  const char* argv[] = {"   ", "\t", "\" \"", " /prefix:a "};
  EXPECT_EQ(TokensFromArguments(4, argv), (Tokens{" /prefix:a "}));
}

struct Refusal {
  const char* token;
  const char* message;
};

TEST(ParseCommandLine, RefusesBadTokensWithTheirText) {
  const std::string longToken = "/dest:" + std::string(300, 'a');
  const Refusal cases[] = {
      {"/Width:100", "Wrong command line argument /Width:100"},
      {"width:100", "Wrong command line argument width:100"},
      {"/", "Wrong command line argument /"},
      {"/home/me", "Wrong command line argument /home/me"},
      {"/mode:wr", "Wrong /m argument. Acceptable values are n,a,m,r,w,wr,h,hr"},
      {"/mode:FC", "Wrong /m argument. Acceptable values are n,a,m,r,w,wr,h,hr"},
      {"/filter:bicubic", "Wrong command line argument /filter:bicubic"},
      {"-filter:Lanczos", "Wrong command line argument -filter:Lanczos"},
      {longToken.c_str(), nullptr},
  };
  for (const auto& c : cases) {
    ConversionSettings s;
    std::string message;
    EXPECT_EQ(ParseCommandLine(Tokens{"/dest:/out", c.token}, s, message), E_INVALIDARG) << c.token;
    EXPECT_EQ(message, c.message ? c.message : "Wrong command line argument " + longToken);
  }
}

TEST(ParseCommandLine, StopsAtTheFirstFaultyToken) {
  ConversionSettings s;
  std::string message;
  EXPECT_EQ(ParseCommandLine("/width:5 bad /height:7", s, message), E_INVALIDARG);
  EXPECT_EQ(message, "Wrong command line argument bad");
  EXPECT_EQ(s.width, 5);
  EXPECT_EQ(s.height, 100);
}

TEST(ParseCommandLine, ReadsEveryOption) {
  ConversionSettings s;
  std::string message;
  const char* text =
      "/mode:fw -width:640 /height:480 /portraitwidth:300 /portraitheight:400 /ratio:12.5 "
      "/cropleft:25 /croptop:75 /rotate:90 /ext:png /bpp:8 /greyscale:no /paddingvert:3 "
      "/paddinghorz:6 /paddingcolor:FF8000 /createshadow /shadowopaque:40 /shadowdistance:-3 "
      "/shadowangle:45 /shadowblur:2 /shadowbackcolor:00ff00 /shadowcolor:0000FF "
      "/overlayhalign:10 /overlayvalign:90 /overlaytransparency:30 /overlaytransparentcolor:FF0000 "
      "/zeropadding:4 /override /samedir /prefix:p_ /suffix:_s /dest:/out/x:y /source:/in "
      "/norecursive /jpegquality:superb /autorotate /keepmetadata /filter:lanczos /progressive "
      "/gifdither";
  EXPECT_EQ(ParseCommandLine(text, s, message), S_OK) << message;
  EXPECT_EQ(s.resizeOption, FixedWidth);
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.height, 480);
  EXPECT_EQ(s.portraitWidth, 300);
  EXPECT_EQ(s.portraitHeight, 400);
  EXPECT_FALSE(s.sameForPortrait);
  EXPECT_DOUBLE_EQ(s.ratio, 0.125);
  EXPECT_DOUBLE_EQ(s.cropLeftRatio, 0.25);
  EXPECT_DOUBLE_EQ(s.cropTopRatio, 0.75);
  EXPECT_EQ(s.rotateDegree, 90);
  EXPECT_EQ(s.destFileExt, "png");
  EXPECT_EQ(s.bpp, 8);
  EXPECT_TRUE(s.greyScale);
  EXPECT_TRUE(s.addPadding);
  EXPECT_EQ(s.paddingVert, 3);
  EXPECT_EQ(s.paddingHorz, 6);
  EXPECT_EQ(s.paddingColor, 0x0080FFu);
  EXPECT_TRUE(s.createShadow);
  EXPECT_DOUBLE_EQ(s.shadowOpaque, 0.4);
  EXPECT_EQ(s.shadowDistance, -3);
  EXPECT_EQ(s.shadowAngle, 45);
  EXPECT_EQ(s.shadowBlur, 2);
  EXPECT_EQ(s.shadowBackColor, 0x00FF00u);
  EXPECT_EQ(s.shadowColor, 0xFF0000u);
  EXPECT_FALSE(s.overlay);
  EXPECT_DOUBLE_EQ(s.overlayHAlignRatio, 0.1);
  EXPECT_DOUBLE_EQ(s.overlayVAlignRatio, 0.9);
  EXPECT_DOUBLE_EQ(s.overlayTransparency, 0.3);
  EXPECT_EQ(s.overlayTransparentClr, 0xFF0000u);
  EXPECT_EQ(s.zeroPadding, 4);
  EXPECT_TRUE(s.override);
  EXPECT_TRUE(s.sameDir);
  EXPECT_EQ(s.prefix, "p_");
  EXPECT_EQ(s.suffix, "_s");
  EXPECT_EQ(s.destFolder, "/out/x:y");
  EXPECT_EQ(s.source, "/in");
  EXPECT_FALSE(s.recursive);
  EXPECT_EQ(s.jpegQualityNew, 100);
  EXPECT_TRUE(s.autoRotate && s.keepMetadata);
  EXPECT_EQ(s.filter, LanczosFilter);
  EXPECT_TRUE(s.progressive && s.gifDither);
}

TEST(ParseCommandLine, ModeLettersAndQualityWords) {
  const std::pair<const char*, int> modes[] = {{"fc", 0}, {"fp", 1}, {"m", 2}, {"w", 3},
                                               {"h", 4},  {"r", 5},  {"n", 6}, {"f", 7},
                                               {"fw", 8}, {"fh", 9}};
  for (const auto& [letter, mode] : modes) {
    ConversionSettings s;
    std::string message;
    ParseCommandLine(Tokens{std::string("/mode:") + letter}, s, message);
    EXPECT_EQ(s.resizeOption, mode) << letter;
  }
  const std::pair<const char*, int> words[] = {{"bad", 10},  {"average", 25}, {"normal", 50},
                                               {"good", 80}, {"better", 90},  {"superb", 100},
                                               {"Good", 0},  {"77x", 77}};
  for (const auto& [word, quality] : words) {
    ConversionSettings s;
    std::string message;
    ParseCommandLine(Tokens{std::string("/jpegquality:") + word}, s, message);
    EXPECT_EQ(s.jpegQualityNew, quality) << word;
  }
}

TEST(ParseCommandLine, FilterNames) {
  const std::pair<const char*, int> filters[] = {{"box", BoxFilter}, {"lanczos", LanczosFilter}};
  for (const auto& [name, filter] : filters) {
    ConversionSettings s;
    s.filter = -1;
    std::string message;
    ParseCommandLine(Tokens{std::string("/filter:") + name}, s, message);
    EXPECT_EQ(s.filter, filter) << name;
  }
}

TEST(ParseCommandLine, EndsWithValidation) {
  const std::pair<const char*, const char*> cases[] = {
      {"/width:100", "Please choose a destination folder."},
      {"/dest:/o /width:abc", "Please choose a width larger than 0."},
      {"/dest:/o /jpegquality:Good", "Invalid jpeg quality. Valid values are numbers from 1-100."},
      {"/dest:/o /mode:r /ratio:inf", "Please choose a ratio larger than 0."},
      {"/dest:/o /mode:r /ratio:--50", "Please choose a ratio larger than 0."},  // atof gives 0
      {"/dest:/o /prefix:../", "Invalid prefix. A prefix cannot contain /."},
      {"/dest:/o /suffix:_small/x", "Invalid suffix. A suffix cannot contain /."},
  };
  for (const auto& [text, expected] : cases) {
    ConversionSettings s;
    std::string message;
    EXPECT_EQ(ParseCommandLine(text, s, message), E_INVALIDARG) << text;
    EXPECT_EQ(message, expected) << text;
  }
}

TEST(ParseCommandLine, FlagsIgnoreValuesAndSideEffectsFollowTheirOptions) {
  ConversionSettings s;
  std::string message;
  ParseCommandLine("/dest:/o /overlayfile:/nonexistent/logo.png", s, message);
  EXPECT_TRUE(s.overlay);
  EXPECT_EQ(s.overlayFilePath, "/nonexistent/logo.png");
  EXPECT_EQ(message, "Failed to load overlay image file /nonexistent/logo.png");
}

TEST(ReadNumbers, AtoiAndAtofMannerButSafe) {
  EXPECT_EQ(ReadInt("  -42xyz"), -42);
  EXPECT_EQ(ReadInt("+7"), 7);
  EXPECT_EQ(ReadInt("abc"), 0);
  EXPECT_EQ(ReadInt("99999999999"), INT_MAX);
  EXPECT_EQ(ReadInt("-999999999999999999999"), INT_MIN);
  EXPECT_DOUBLE_EQ(ReadDouble(" 12.5%"), 12.5);
  EXPECT_DOUBLE_EQ(ReadDouble("-3e1"), -30.0);
  EXPECT_DOUBLE_EQ(ReadDouble("0x10"), 0.0);
  EXPECT_DOUBLE_EQ(ReadDouble("x"), 0.0);
  for (const char* doubled : {"--50", "+-50", "-+50", "++50", " - 5"})
    EXPECT_EQ(ReadDouble(doubled), 0.0) << doubled;
}

TEST(ParseCommandLine, ExtensionLosesOneLeadingDot) {
  for (const auto& [text, ext] : {std::pair{"/dest:/o /ext:.png", "png"},
                                  {"/dest:/o /ext:png", "png"},
                                  {"/dest:/o /ext:.JPG", "JPG"}}) {
    ConversionSettings s;
    std::string message;
    EXPECT_EQ(ParseCommandLine(text, s, message), S_OK) << message;
    EXPECT_EQ(s.destFileExt, ext) << text;
  }
}

TEST(ReadNumbers, DecimalsIgnoreTheUserLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
    GTEST_SKIP() << "no comma-decimal locale installed";
  EXPECT_DOUBLE_EQ(ReadDouble("12.5"), 12.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(LeadingHexValue, LeadingHexDigitsOnly) {
  EXPECT_EQ(LeadingHexValue("FF8000"), 0xFF8000u);
  EXPECT_EQ(LeadingHexValue("ff80zz"), 0xFF80u);
  EXPECT_EQ(LeadingHexValue("0xFF0000"), 0u);
  EXPECT_EQ(LeadingHexValue("FFRRGGBB"), 0xFFu);
  EXPECT_EQ(LeadingHexValue("80FF0000"), 0x80FF0000u);
  EXPECT_EQ(LeadingHexValue("123456789"), 0x23456789u);  // wraps modulo 2^32
  EXPECT_EQ(HexToColorref("FF0000"), 0x0000FFu);
  EXPECT_EQ(HexToColorref("123456"), 0x563412u);
}

}  // namespace
