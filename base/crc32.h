// CRC-32 of ZIP, PNG and the package check: reflected polynomial 0xEDB88320, initial value all
// ones, final complement. A running value starts at 0 and is chained over several buffers, as
// with zlib's crc32(): Crc32(Crc32(0, a), b) == Crc32(0, a + b).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorin {

uint32_t Crc32(uint32_t crc, const void* data, size_t size);

}  // namespace qorin
