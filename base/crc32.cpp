// Slicing-by-16: sixteen tables, sixteen input bytes per step; the dispatch to folding.
#include "crc32.h"

#include <array>
#include <cstring>

#include "byte_order.h"
#include "crc32_paths.h"

namespace qorin {
namespace {

using Tables = std::array<std::array<uint32_t, 256>, 16>;

// Built at the first use rather than stored: 16 KiB less in the stub, a few microseconds once.
Tables MakeTables() {
  Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (int k = 1; k < 16; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
  return t;
}

const Tables& TheTables() {
  static const Tables tables = MakeTables();
  return tables;
}

}  // namespace

namespace crc32_detail {

uint32_t UpdateTables(uint32_t c, const uint8_t* p, size_t size) {
  const Tables& t = TheTables();
  while (size >= 16) {
    uint32_t w0 = LoadLe32(p) ^ c, w1 = LoadLe32(p + 4), w2 = LoadLe32(p + 8),
             w3 = LoadLe32(p + 12);
    c = t[15][w0 & 0xFF] ^ t[14][(w0 >> 8) & 0xFF] ^ t[13][(w0 >> 16) & 0xFF] ^ t[12][w0 >> 24] ^
        t[11][w1 & 0xFF] ^ t[10][(w1 >> 8) & 0xFF] ^ t[9][(w1 >> 16) & 0xFF] ^ t[8][w1 >> 24] ^
        t[7][w2 & 0xFF] ^ t[6][(w2 >> 8) & 0xFF] ^ t[5][(w2 >> 16) & 0xFF] ^ t[4][w2 >> 24] ^
        t[3][w3 & 0xFF] ^ t[2][(w3 >> 8) & 0xFF] ^ t[1][(w3 >> 16) & 0xFF] ^ t[0][w3 >> 24];
    p += 16;
    size -= 16;
  }
  while (size-- != 0) c = t[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  return c;
}

}  // namespace crc32_detail

uint32_t Crc32Tables(uint32_t crc, const void* data, size_t size) {
  return ~crc32_detail::UpdateTables(~crc, static_cast<const uint8_t*>(data), size);
}

bool Crc32HasFolding() {
  static const bool available = crc32_detail::FoldingAvailable();
  return available;
}

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  uint32_t c = ~crc;
  size_t folded = Crc32HasFolding() ? crc32_detail::UpdateFolded(&c, p, size) : 0;
  return ~crc32_detail::UpdateTables(c, p + folded, size - folded);
}

}  // namespace qorin
