// The resample of the resize step: fills a whole new picture from a window of the source,
// by block average when reducing and by the nearest pixel when enlarging, with a fill
// pixel outside the placed rectangle.
#pragma once

#include <cstdint>

#include "image/PixelView.h"
#include "image/transform/ResizeGeometry.h"

// Writes every pixel of `target`. With fx = sourceRect.w / placeRect.w and
// fy = sourceRect.h / placeRect.h, the target pixel (i, j) inside placeRect averages the
// source pixels x0 <= x < trunc(x0 + fx), y0 <= y < trunc(y0 + fy) (clipped to the
// window), where x0 = trunc((i - placeRect.x) * fx + sourceRect.x) and likewise y0.
// The average is per channel with integer division and an opaque fourth byte; when the
// averaged pixels' alpha is real (their fourth bytes neither all 0xFF nor all 0) colours
// are weighted by alpha and the fourth byte is the mean alpha, so transparency survives a
// reduction. When that block is empty (enlargement along either axis) the pixel is the
// source pixel (x0, y0) copied whole. Pixels outside placeRect are `fill`. The window is
// clipped to the source first, so nothing outside the source is read even for an empty or
// hostile window.
void ResampleInto(const ConstPixelView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill);
// The same from a 24-bit source, whose pixels count as opaque: the result equals that of
// the 32-bit picture FreeImage_ConvertTo32Bits makes of it, without making that copy.
void ResampleInto(const RgbView& source, PixelRect sourceRect, const PixelView& target,
                  PixelRect placeRect, std::uint32_t fill);
