// The two halves of CRC-32 that crc32.cpp dispatches between; only the two CRC files use them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorin {

namespace crc32_detail {
// The register (complemented value) after the tables have read the bytes.
uint32_t UpdateTables(uint32_t reg, const uint8_t* p, size_t size);
// The longest prefix that folding handles (64 bytes or more, a multiple of 16), read into the
// register; the bytes it read. Defined where the processor has the instructions.
size_t UpdateFolded(uint32_t* reg, const uint8_t* p, size_t size);
bool FoldingAvailable();
}  // namespace crc32_detail

}  // namespace qorin
