// The filters the resize step resamples with: their stored values, command-line names and
// GUI texts. Box averages when reducing and repeats the nearest pixel when enlarging;
// Lanczos is the sharp separable Lanczos-3 filter, for reductions and enlargements alike.
#pragma once

#include <optional>
#include <string_view>

enum ResampleFilter : int {
  BoxFilter = 0,
  LanczosFilter = 1,
};

constexpr int kResampleFilterCount = 2;

// The command-line name of a filter ("box", "lanczos"); empty for an unknown value.
std::string_view ResampleFilterName(int filter);
// The GUI text of a filter; empty for an unknown value.
std::string_view ResampleFilterText(int filter);
// The filter a command-line name names, matched exactly.
std::optional<ResampleFilter> ResampleFilterFromName(std::string_view name);
