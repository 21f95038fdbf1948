// Byte streams: where the ZIP reader and the installer read and write bytes, whether from a file
// or from memory. Positions and sizes are 64-bit, single transfers 32-bit. Nothing throws:
// failures are false, or -1 as a position or size.
#pragma once

#include <cstdint>
#include <vector>

namespace qorin {

class XReadStream {
 public:
  virtual ~XReadStream() = default;
  // Reads up to length bytes; fewer than asked is not a failure (the caller compares).
  virtual bool Read(void* buffer, uint32_t length, uint32_t* bytesRead) = 0;
  virtual int64_t Seek(int64_t position) = 0;
  virtual int64_t GetPosition() = 0;
  virtual int64_t GetSize() = 0;  // -1 when it cannot be had
};

class XWriteStream {
 public:
  virtual ~XWriteStream() = default;
  virtual bool Write(const void* buffer, uint32_t length) = 0;  // all or nothing
  virtual int64_t Seek(int64_t position) = 0;
  virtual int64_t GetPosition() = 0;
  virtual int64_t GetSize() = 0;
};

enum SeekOrigin : int { kSeekSet = 0, kSeekCurrent = 1, kSeekEnd = 2 };

// Seeks relative to the current position (origin 1) or the end (origin 2); any other origin
// fails with -1.
int64_t SeekFrom(XReadStream& stream, int64_t offset, int origin);

// Reads the whole stream from position 0 into bytes, optionally followed by two zero bytes (a
// UTF-16 text is then terminated; the zeros are not counted in *size). Fails for a stream larger
// than 4 GiB or a short read.
bool ReadWholeStream(XReadStream& stream, std::vector<uint8_t>* bytes, bool addTwoZeros);

class XMemoryReadStream final : public XReadStream {
 public:
  // Borrows the buffer (it must outlive the stream) unless owns is true (freed with delete[]).
  XMemoryReadStream(const uint8_t* buffer, int64_t size, bool owns = false);
  ~XMemoryReadStream() override;
  XMemoryReadStream(const XMemoryReadStream&) = delete;
  XMemoryReadStream& operator=(const XMemoryReadStream&) = delete;

  bool Read(void* buffer, uint32_t length, uint32_t* bytesRead) override;
  int64_t Seek(int64_t position) override;
  int64_t GetPosition() override { return position_; }
  int64_t GetSize() override { return size_; }

 private:
  const uint8_t* buffer_;
  int64_t size_;
  int64_t position_ = 0;
  bool owns_;
};

class XMemoryWriteStream final : public XWriteStream {
 public:
  static constexpr int64_t kMaxCapacity = 104857600;  // 100 MiB

  XMemoryWriteStream() = default;
  bool Write(const void* buffer, uint32_t length) override;
  int64_t Seek(int64_t position) override;
  int64_t GetPosition() override { return position_; }
  int64_t GetSize() override { return size_; }

  const uint8_t* Data() const { return buffer_.data(); }

 private:
  std::vector<uint8_t> buffer_;  // its size is the capacity
  int64_t position_ = 0;
  int64_t size_ = 0;
};

}  // namespace qorin
