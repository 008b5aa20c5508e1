#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace velkaro {

// Little-endian reads and writes for the binary formats (terrain tiles, the summit grid).
inline int16_t ReadLeI16(const uint8_t* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}
inline uint32_t ReadLeU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline float ReadLeF32(const uint8_t* p) {
  const uint32_t u = ReadLeU32(p);
  float f;
  std::memcpy(&f, &u, sizeof f);
  return f;
}
inline void AppendLeI16(std::vector<uint8_t>& out, int16_t v) {
  const auto u = static_cast<uint16_t>(v);
  out.push_back(static_cast<uint8_t>(u & 0xff));
  out.push_back(static_cast<uint8_t>(u >> 8));
}
inline void AppendLeF32(std::vector<uint8_t>& out, float v) {
  uint32_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

}  // namespace velkaro
