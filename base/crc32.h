// CRC-32 of ZIP, PNG and the package check: reflected polynomial 0xEDB88320, initial value all
// ones, final complement. A running value starts at 0 and is chained over several buffers, as
// with zlib's crc32(): Crc32(Crc32(0, a), b) == Crc32(0, a + b).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorin {

// Folds 64 bytes a step with carry-less multiplication where the processor has it (chosen once
// at run time), slicing-by-16 tables otherwise and for the ends.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// The two paths, for tests and benchmarks: the table path alone, and whether the folding path
// runs on this processor.
uint32_t Crc32Tables(uint32_t crc, const void* data, size_t size);
bool Crc32HasFolding();

namespace crc32_detail {
// The register (complemented value) after the tables have read the bytes.
uint32_t UpdateTables(uint32_t reg, const uint8_t* p, size_t size);
// The longest prefix that folding handles (64 bytes or more, a multiple of 16), read into the
// register; the bytes it read. Defined where the processor has the instructions.
size_t UpdateFolded(uint32_t* reg, const uint8_t* p, size_t size);
bool FoldingAvailable();
}  // namespace crc32_detail

}  // namespace qorin
