#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "byte_stream.h"

namespace qorin {

int64_t SeekFrom(XReadStream& stream, int64_t offset, int origin) {
  switch (origin) {
    case kSeekSet: return stream.Seek(offset);
    case kSeekCurrent: return stream.Seek(stream.GetPosition() + offset);
    case kSeekEnd: {
      int64_t size = stream.GetSize();
      return size < 0 ? -1 : stream.Seek(size + offset);
    }
    default: return -1;
  }
}

bool ReadWholeStream(XReadStream& stream, std::vector<uint8_t>* bytes, bool addTwoZeros) {
  int64_t size = stream.GetSize();
  if (size < 0 || size > int64_t{0xFFFFFFFF} || stream.Seek(0) != 0) return false;
  // Checked in 64 bits: in a 32-bit process size + 2 may not fit a size_t.
  uint64_t total = static_cast<uint64_t>(size) + (addTwoZeros ? 2 : 0);
  if (total > bytes->max_size()) return false;
  try {
    bytes->assign(static_cast<size_t>(total), 0);
  } catch (const std::exception&) {  // bad_alloc or length_error
    return false;
  }
  uint32_t got = 0;
  if (!stream.Read(bytes->data(), static_cast<uint32_t>(size), &got) || got != size) return false;
  if (addTwoZeros) bytes->resize(static_cast<size_t>(size) + 2);
  return true;
}

XMemoryReadStream::XMemoryReadStream(const uint8_t* buffer, int64_t size, bool owns)
    : buffer_(buffer), size_(size), owns_(owns) {}

XMemoryReadStream::~XMemoryReadStream() {
  if (owns_) delete[] buffer_;
}

bool XMemoryReadStream::Read(void* buffer, uint32_t length, uint32_t* bytesRead) {
  *bytesRead = 0;
  if (buffer_ == nullptr) return false;
  if (position_ >= size_ || length == 0) return true;
  uint32_t count = static_cast<uint32_t>(std::min<int64_t>(length, size_ - position_));
  std::memcpy(buffer, buffer_ + position_, count);
  position_ += count;
  *bytesRead = count;
  return true;
}

int64_t XMemoryReadStream::Seek(int64_t position) {
  if (position >= 0) position_ = position;
  return position_;
}

bool XMemoryWriteStream::Write(const void* buffer, uint32_t length) {
  // Nothing ends beyond the capacity limit; checked before adding, so a huge position cannot
  // overflow.
  if (position_ > kMaxCapacity - int64_t{length}) return false;
  int64_t end = position_ + length;
  if (end > static_cast<int64_t>(buffer_.size())) {
    int64_t capacity = std::max<int64_t>(4096, static_cast<int64_t>(buffer_.size()));
    while (capacity < end) capacity *= 2;
    if (capacity > kMaxCapacity) {
      // Doubling overshoots near the limit: a write that still fits under it gets just that.
      if (end > kMaxCapacity) return false;
      capacity = kMaxCapacity;
    }
    try {
      buffer_.resize(static_cast<size_t>(capacity), 0);
    } catch (const std::exception&) {
      return false;
    }
  }
  if (length != 0) std::memcpy(buffer_.data() + position_, buffer, length);
  position_ = end;
  size_ = std::max(size_, position_);
  return true;
}

int64_t XMemoryWriteStream::Seek(int64_t position) {
  if (position < 0) return 0;
  position_ = position;
  return position_;
}

}  // namespace qorin
