// libFuzzer target for the command-line options: any text through SplitCommandLine and
// ParseCommandLine. Besides memory faults (the sanitizers' business) it checks what must
// hold for every input: tokens are non-empty and free of quotes and keep every other
// character in order, parsing the text equals parsing its tokens, and a refusal always
// carries a message.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cmdline/CommandLineParser.h"
#include "image/codec/FreeImageCall.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The characters that end up in tokens: everything but quotes and unquoted blanks.
std::string Kept(std::string_view text) {
  std::string kept;
  bool quoted = false;
  for (char c : text) {
    if (c == '"')
      quoted = !quoted;
    else if (quoted || !IsBlank(c))
      kept += c;
  }
  return kept;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartFreeImage();  // validation may load an overlay picture
  // Relative paths in the input (sources, overlays) then name nothing on disk.
  char dir[] = "/tmp/bm-fuzz-cmdline-XXXXXX";
  if (mkdtemp(dir) && chdir(dir) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto tokens = SplitCommandLine(text);

  std::string joined;
  for (const auto& t : tokens) {
    Check(!t.empty(), "empty token");
    Check(t.find('"') == std::string::npos, "quote inside a token");
    joined += t;
  }
  Check(joined == Kept(text), "tokens lost or reordered characters");

  ConversionSettings fromText, fromTokens;
  std::string messageText, messageTokens;
  const HRESULT hrText = ParseCommandLine(text, fromText, messageText);
  const HRESULT hrTokens = ParseCommandLine(tokens, fromTokens, messageTokens);
  Check(hrText == hrTokens && messageText == messageTokens, "text and tokens parse differently");
  Check(hrText == S_OK || (Failed(hrText) && !messageText.empty()), "refusal without a message");
  return 0;
}
