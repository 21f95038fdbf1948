// The LZMA SDK as this build compiles it: CRC table and LZMA2 decoder work on both toolchains.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "7zCrc.h"
#include "Lzma2Dec.h"

namespace {

void* TestAlloc(ISzAllocPtr, size_t size) {
  return std::malloc(size);
}
void TestFree(ISzAllocPtr, void* address) {
  std::free(address);
}
const ISzAlloc kAlloc = {TestAlloc, TestFree};

TEST(LzmaSdk, CrcOfCheckString) {
  CrcGenerateTable();
  const char text[] = "123456789";
  EXPECT_EQ(CrcCalc(text, 9), 0xCBF43926u);
  EXPECT_EQ(CrcCalc(text, 0), 0u);
}

// LZMA2 stream of one uncompressed chunk (control 1: dictionary reset, 16-bit big-endian size
// minus one), then the end marker 0.
TEST(LzmaSdk, Lzma2DecodesStoredChunk) {
  const Byte stream[] = {0x01, 0x00, 0x04, 'q', 'o', 'r', 'i', 'n', 0x00};
  Byte out[16] = {};
  SizeT outLen = sizeof out;
  SizeT inLen = sizeof stream;
  ELzmaStatus status;
  ASSERT_EQ(Lzma2Decode(out, &outLen, stream, &inLen, 0, LZMA_FINISH_END, &status, &kAlloc), SZ_OK);
  EXPECT_EQ(status, LZMA_STATUS_FINISHED_WITH_MARK);
  ASSERT_EQ(outLen, 5u);
  EXPECT_EQ(std::memcmp(out, "qorin", 5), 0);
}

TEST(LzmaSdk, Lzma2RejectsBadControlByte) {
  const Byte stream[] = {0x03, 0x00, 0x00, 'x', 0x00};
  Byte out[16] = {};
  SizeT outLen = sizeof out;
  SizeT inLen = sizeof stream;
  ELzmaStatus status;
  EXPECT_NE(Lzma2Decode(out, &outLen, stream, &inLen, 0, LZMA_FINISH_END, &status, &kAlloc), SZ_OK);
}

}  // namespace
