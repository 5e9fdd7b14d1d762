// The sharp resample of the resize step: a separable Lanczos-3 filter for reductions and
// enlargements alike, with the same window, placement and fill as the box resample.
#pragma once

#include <cstdint>

#include "image/PixelView.h"
#include "image/transform/ResizeGeometry.h"

// Writes every pixel of `target`: the placed pixels filtered from the window (sourceRect
// clipped to the source), the others `fill`. Along an axis reduced by a factor f of 4 or
// more the window is first averaged in blocks of floor(f / 2) pixels, so the filter itself
// always reduces by less than 4; it then weighs its inputs with FilterTaps.h's LanczosTaps.
// Opaque pictures (and those whose fourth bytes are all 0) give opaque pixels; a picture
// with real alpha is filtered with colours weighted by alpha, so transparent pixels do not
// darken edges. A window of one-to-one size, or an empty one, is resampled by the box
// filter (ResampleInto), which then copies or repeats pixels exactly.
void LanczosResampleInto(const ConstPixelView& source, PixelRect sourceRect,
                         const PixelView& target, PixelRect placeRect, std::uint32_t fill);
// The same from a 24-bit source, whose pixels count as opaque.
void LanczosResampleInto(const RgbView& source, PixelRect sourceRect, const PixelView& target,
                         PixelRect placeRect, std::uint32_t fill);
