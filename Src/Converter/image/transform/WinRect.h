// Rectangles as the drop shadow measures them: left, top, right, bottom with right and
// bottom exclusive, in 64-bit so that offsets by unbounded distances cannot overflow.
// A rectangle with right <= left or bottom <= top holds no point; shrinking may invert it.
#pragma once

#include <algorithm>
#include <cstdint>

struct WinRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool operator==(const WinRect&) const = default;

  std::int64_t Width() const { return right - left; }
  std::int64_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool HoldsColumn(std::int64_t x) const { return left <= x && x < right; }
  bool HoldsRow(std::int64_t y) const { return top <= y && y < bottom; }
  bool Holds(std::int64_t x, std::int64_t y) const { return HoldsColumn(x) && HoldsRow(y); }
};

inline WinRect Offset(WinRect r, std::int64_t dx, std::int64_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Grows every side by d; a negative d shrinks and may invert the rectangle.
inline WinRect Inflate(WinRect r, std::int64_t d) {
  return {r.left - d, r.top - d, r.right + d, r.bottom + d};
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline WinRect Union(const WinRect& a, const WinRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? WinRect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}
