#include "settings/AppSettings.h"

#include "platform/ByteCodes.h"

namespace {

void PutInt32(std::uint8_t* p, std::int32_t v) { WriteLE32(p, static_cast<std::uint32_t>(v)); }

std::int32_t GetInt32(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadLE32(p)); }

}  // namespace

std::array<int, kColumnCount> AppSettings::DefaultColumnWidths() {
  return {200, 25, 70, 50, 40, 120, 40, 40, 25, 40, 40, 25, 130, 0, 0, 0, 0, 0, 0, 0};
}

std::array<std::uint8_t, WindowPlacement::kBytes> WindowPlacement::ToBytes() const {
  const std::int32_t fields[] = {length, flags, showCmd, minX,  minY,  maxX,
                                 maxY,   left,  top,     right, bottom};
  std::array<std::uint8_t, kBytes> out{};
  for (std::size_t i = 0; i < 11; ++i) PutInt32(out.data() + 4 * i, fields[i]);
  return out;
}

WindowPlacement WindowPlacement::FromBytes(const std::uint8_t* b) {
  WindowPlacement p;
  std::int32_t* fields[] = {&p.length, &p.flags, &p.showCmd, &p.minX,  &p.minY,  &p.maxX,
                            &p.maxY,   &p.left,  &p.top,     &p.right, &p.bottom};
  for (std::size_t i = 0; i < 11; ++i) *fields[i] = GetInt32(b + 4 * i);
  return p;
}
