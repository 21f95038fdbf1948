// CRC-32 by folding with carry-less multiplication (PCLMULQDQ). Four 128-bit lanes run over the
// data 64 bytes at a time: each lane is multiplied forward by 512 bits (x^(512±32) mod P, bit-
// reflected) and the next 64 bytes are added. The lanes are then folded into one by 128 bits at
// a time, and the last 128 bits, which leave the same remainder as everything read, go through
// the tables from a zero register.
#include "crc32.h"
#include "crc32_paths.h"

#if defined(__i386__) || defined(__x86_64__)

#include <cpuid.h>
#include <emmintrin.h>
#include <wmmintrin.h>

// Windows keeps 32-bit stacks 4-byte aligned: the entry realigns it for the 16-byte spills.
#if defined(__i386__)
#define QORIN_FOLDING_ENTRY __attribute__((target("sse2,pclmul"), force_align_arg_pointer))
#else
#define QORIN_FOLDING_ENTRY __attribute__((target("sse2,pclmul")))
#endif

namespace qorin::crc32_detail {
namespace {

// x^(4*128+32) and x^(4*128-32) mod P (lanes 512 bits apart), then the same for 128 bits.
constexpr long long kFold512Low = 0x154442bd4, kFold512High = 0x1c6e41596;
constexpr long long kFold128Low = 0x1751997d0, kFold128High = 0x0ccaa009e;

__attribute__((target("sse2,pclmul"))) inline __m128i Fold(__m128i lane, __m128i k, __m128i next) {
  __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
  __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__attribute__((target("sse2"))) inline __m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

}  // namespace

QORIN_FOLDING_ENTRY size_t UpdateFolded(uint32_t* reg, const uint8_t* p, size_t size) {
  if (size < 64) return 0;
  const __m128i k512 = _mm_set_epi64x(kFold512High, kFold512Low);
  const __m128i k128 = _mm_set_epi64x(kFold128High, kFold128Low);
  __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(*reg)));
  __m128i x1 = Load(p + 16), x2 = Load(p + 32), x3 = Load(p + 48);
  size_t used = 64;
  for (; size - used >= 64; used += 64) {
    x0 = Fold(x0, k512, Load(p + used));
    x1 = Fold(x1, k512, Load(p + used + 16));
    x2 = Fold(x2, k512, Load(p + used + 32));
    x3 = Fold(x3, k512, Load(p + used + 48));
  }
  x0 = Fold(Fold(Fold(x0, k128, x1), k128, x2), k128, x3);
  for (; size - used >= 16; used += 16) x0 = Fold(x0, k128, Load(p + used));
  alignas(16) uint8_t last[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(last), x0);
  *reg = UpdateTables(0, last, sizeof last);
  return used;
}

// CPUID leaf 1: SSE2 in EDX bit 26, PCLMULQDQ in ECX bit 1.
bool FoldingAvailable() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return false;
  return (edx & (1u << 26)) != 0 && (ecx & (1u << 1)) != 0;
}

}  // namespace qorin::crc32_detail

#else

namespace qorin::crc32_detail {
size_t UpdateFolded(uint32_t*, const uint8_t*, size_t) {
  return 0;
}
bool FoldingAvailable() {
  return false;
}
}  // namespace qorin::crc32_detail

#endif
