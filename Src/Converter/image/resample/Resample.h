// The box resample of the resize step: fills a whole new picture from a window of the
// source, averaging when reducing and taking the nearest pixel when enlarging, with a fill
// pixel outside the placed rectangle.
#pragma once

#include <cstdint>

#include "image/PixelView.h"
#include "image/transform/ResizeGeometry.h"

// Writes every pixel of `target`. Along an axis where the window (sourceRect clipped to
// the source) is longer than placeRect, the window is cut into one run per placed pixel:
// placed pixel p covers [round(p x f), round((p + 1) x f)) with f = window / placed, runs
// of floor(f) or ceil(f) pixels that together read every window pixel once (at a whole
// factor, the run of f pixels at p x f). Along any other axis placed pixel p reads the
// one pixel at trunc(p x f) of the window.
// A placed pixel is the mean of its block, per channel with integer division and an
// opaque fourth byte; when the averaged pixels' alpha is real (their fourth bytes neither
// all 0xFF nor all 0) colours are weighted by alpha and the fourth byte is the mean alpha,
// so transparency survives a reduction. An enlargement that reduces along neither axis
// copies its pixels whole instead, fourth byte included. Pixels outside placeRect are
// `fill`. Nothing outside the source is read, even for an empty or hostile window.
void ResampleInto(const ConstPixelView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill);
// The same from a 24-bit source, whose pixels count as opaque: the result equals that of
// the 32-bit picture FreeImage_ConvertTo32Bits makes of it, without making that copy.
void ResampleInto(const RgbView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill);
