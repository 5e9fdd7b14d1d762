// libFuzzer target for the settings store's file: any bytes through MergeText. What it
// keeps must survive a save and a load unchanged: the text written from the parsed store
// parses back to the same store.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/RegistryStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RegistryStore first;
  first.MergeText(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text = first.ToText();
  RegistryStore second;
  second.MergeText(text);
  if (second.ToText() != text) {
    std::fprintf(stderr, "the written store does not read back the same:\n%s\n", text.c_str());
    std::abort();
  }
  return 0;
}
