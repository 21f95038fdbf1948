// Byte streams at the edges of their sizes and positions.
#include "byte_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace qorin {
namespace {

TEST(MemoryWriteStream, HugePositionsRefuseTheWrite) {
  for (int64_t position : {(int64_t{1} << 62) + 1, INT64_MAX, XMemoryWriteStream::kMaxCapacity}) {
    XMemoryWriteStream stream;
    stream.Seek(position);
    uint8_t byte = 7;
    EXPECT_FALSE(stream.Write(&byte, 1)) << position;
    EXPECT_EQ(stream.GetSize(), 0) << position;
  }
  XMemoryWriteStream stream;
  stream.Seek(XMemoryWriteStream::kMaxCapacity - 1);
  uint8_t byte = 7;
  EXPECT_TRUE(stream.Write(&byte, 1)) << "the last byte under the limit";
}

// A stream that claims a size and delivers its first 64 bytes.
struct ClaimedSize : XReadStream {
  int64_t size;
  explicit ClaimedSize(int64_t s) : size(s) {}
  bool Read(void* buffer, uint32_t length, uint32_t* got) override {
    *got = std::min<uint32_t>(length, 64);
    std::memset(buffer, 'x', *got);
    return true;
  }
  int64_t Seek(int64_t position) override { return position; }
  int64_t GetPosition() override { return 0; }
  int64_t GetSize() override { return size; }
};

TEST(ReadWholeStream, SizesBeyondMemoryFail) {
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadWholeStream(*std::make_unique<ClaimedSize>(int64_t{1} << 32), &bytes, true));
  if (sizeof(size_t) > 4) GTEST_SKIP() << "4 GiB - 1 fits a 64-bit size_t";
  // In a 32-bit process size + 2 must not wrap to a 1-byte buffer.
  for (int64_t size : {int64_t{0xFFFFFFFF}, int64_t{0xFFFFFFFE}})
    EXPECT_FALSE(ReadWholeStream(*std::make_unique<ClaimedSize>(size), &bytes, true)) << size;
}

}  // namespace
}  // namespace qorin
