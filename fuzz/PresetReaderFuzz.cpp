// libFuzzer target for preset files: any bytes through ReadPresetText, the reader the
// window and the command line use. A text it accepts must describe settings that, written
// as a preset again, read back to the very same settings.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/PresetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ConversionSettings first;
  std::string message;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (Failed(ReadPresetText(text, "fuzz.preset", first, message))) {
    if (message.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  const std::string written = PresetText(first);
  ConversionSettings second;
  if (Failed(ReadPresetText(written, "again.preset", second, message)) ||
      PresetText(second) != written) {
    std::fprintf(stderr, "the preset does not read back the same:\n%s\n", written.c_str());
    std::abort();
  }
  return 0;
}
