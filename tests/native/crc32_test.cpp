// CRC-32: the folding path agrees with the tables on every length to 4 KiB at every alignment,
// and both with the known check value.
#include "crc32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace qorin {
namespace {

TEST(Crc32, FoldingAgreesWithTablesAtEveryLengthAndAlignment) {
  EXPECT_EQ(Crc32(0, "123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32Tables(0, "123456789", 9), 0xCBF43926u);
  std::vector<uint8_t> bytes(4096 + 16);
  uint32_t seed = 1;
  for (uint8_t& b : bytes) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  if (!Crc32HasFolding()) std::printf("[ note     ] no carry-less multiply here: tables only\n");
  for (size_t align = 0; align < 16; ++align) {
    for (size_t length = 0; length <= 4096; ++length) {
      const uint8_t* p = bytes.data() + align;
      ASSERT_EQ(Crc32(0x12345678u, p, length), Crc32Tables(0x12345678u, p, length))
          << "length " << length << ", alignment " << align;
    }
  }
  // Chaining across a split that falls inside a fold.
  EXPECT_EQ(Crc32(Crc32(0, bytes.data(), 100), bytes.data() + 100, 3000),
            Crc32Tables(0, bytes.data(), 3100));
}

}  // namespace
}  // namespace qorin
