#include "settings/ResampleFilter.h"

#include <array>

namespace {

struct FilterInfo {
  std::string_view name;
  std::string_view text;
};

constexpr std::array<FilterInfo, kResampleFilterCount> kFilters = {{
    {"box", "Box"},
    {"lanczos", "Lanczos"},
}};

bool Valid(int filter) { return filter >= 0 && filter < kResampleFilterCount; }

}  // namespace

std::string_view ResampleFilterName(int filter) {
  return Valid(filter) ? kFilters[filter].name : "";
}
std::string_view ResampleFilterText(int filter) {
  return Valid(filter) ? kFilters[filter].text : "";
}

std::optional<ResampleFilter> ResampleFilterFromName(std::string_view name) {
  for (int i = 0; i < kResampleFilterCount; ++i)
    if (kFilters[i].name == name) return static_cast<ResampleFilter>(i);
  return std::nullopt;
}
