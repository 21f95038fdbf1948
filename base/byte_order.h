// Little-endian reads of the on-disk formats (ZIP records, package footer, CRC words).
#pragma once

#include <cstdint>

namespace qorin {

inline uint16_t LoadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint64_t LoadLe64(const uint8_t* p) {
  return uint64_t{LoadLe32(p)} | uint64_t{LoadLe32(p + 4)} << 32;
}

}  // namespace qorin
