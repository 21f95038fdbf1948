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

}  // namespace qorin
